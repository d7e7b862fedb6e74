#pragma once

#include <string>
#include <vector>

// The files the game reads beside a skin file: "Skin.dat" has its 2x skin "Skin@2x.dat" and
// its language packages "Skin.de.dat" and "Skin@2x.de.dat", named after the language as
// gettext names it ("de", "pt_BR").

// "DIR/Skin@2x.dat" for "DIR/Skin.dat".
std::string SkinFileAt2x(const std::string& skinFile);
// "DIR/Skin.de.dat" for "DIR/Skin.dat" and "de"; "DIR/Skin@2x.de.dat" for "DIR/Skin@2x.dat".
std::string SkinLanguageFile(const std::string& skinFile, const std::string& language);
// Whether a language name can be part of a file name: letters, digits, '_' and '@', such as
// "pt_BR" or "sr@latin", and nothing that leads out of the folder.
bool IsLanguageName(const std::string& language);
// The languages of every language package beside skinFile, in name order.
std::vector<std::string> SkinLanguagesBeside(const std::string& skinFile);
