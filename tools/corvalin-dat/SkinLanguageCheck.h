#pragma once

#include <string>

class ImagePackage;

// Reports every way each language package beside the skin at skinPath (NAME.LANG.dat, and
// NAME@2x.LANG.dat against it) fails to match, as NAME PROBLEM lines, and every one that
// cannot be read; true when there is no problem, or no language package at all.
bool CheckLanguagePackages(const std::string& skinPath, const ImagePackage& skin);
