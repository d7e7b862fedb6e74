#pragma once

#include <string>
#include <vector>

class ImagePackage;

// One way a package fails to stand in for pictures of its Skin.dat.
struct SkinPairProblem {
    std::string name;     // the picture's name
    std::string problem;  // what is wrong with it, in a few words
};

// What a package beside a skin must be to stand in for the skin's pictures: what it is called
// in the problems, how many times the skin's width and height its pictures are, and whether it
// holds every picture of the skin or only some (a language package holds those with words).
struct SkinCompanion {
    const char* called;  // "the 2x skin"
    int scale;
    bool wholeSkin;
    const char* otherwise;  // what the game draws when it leaves the package out
};

inline constexpr SkinCompanion kSkinAt2x{"the 2x skin", 2, true, "the 1x skin is used"};
inline constexpr SkinCompanion kLanguagePackage{"the language package", 1, false,
                                                "the skin's own pictures are used"};
// Against the 1x language package it goes with.
inline constexpr SkinCompanion kLanguagePackageAt2x{"the 2x language package", 2, true,
                                                    "the 1x language pictures are used"};

// Every picture name in other and not in skin (and, for a whole skin, in skin and not in
// other), and every picture of other that does not decode or is not exactly scale times its
// skin picture's width and height. Empty when other can stand in for skin's pictures. Reads
// only the pictures' headers.
std::vector<SkinPairProblem> CompareSkins(const ImagePackage& skin, const ImagePackage& other,
                                          const SkinCompanion& companion);

// "OTHER does not match SKIN, so OTHERWISE: NAME: PROBLEM (and N more)", naming the files by
// their file names, for problems that are not empty.
std::string DroppedCompanionMessage(const std::string& skinFile, const std::string& otherFile,
                                    const SkinCompanion& companion,
                                    const std::vector<SkinPairProblem>& problems);
