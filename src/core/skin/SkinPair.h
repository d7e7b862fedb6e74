#pragma once

#include <string>
#include <vector>

class ImagePackage;

// One way a Skin@2x.dat fails to be its Skin.dat at twice the size.
struct SkinPairProblem {
    std::string name;     // the picture's name
    std::string problem;  // what is wrong with it, in a few words
};

// Every picture name in one package and not the other, and every 2x picture that does not
// decode or is not exactly twice its 1x picture's width and height. Empty when skin2x can stand
// in for skin on a screen scaled above 1. Reads only the pictures' headers.
std::vector<SkinPairProblem> CompareSkinAt2x(const ImagePackage& skin, const ImagePackage& skin2x);
