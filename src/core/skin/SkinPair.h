#pragma once

#include <string>
#include <vector>

#include "core/layout/SkinLayout.h"
#include "core/text/Translation.h"

class ImagePackage;

// One way a package fails to stand in for pictures of its Skin.dat.
struct SkinPairProblem {
    enum class Kind {
        Missing,      // a picture of the skin the package lacks
        Undecodable,  // a picture of the package whose header does not read
        WrongSize,    // a picture that is not scale times its skin picture
        Extra,        // a picture of the package the skin lacks
    };
    std::string name;  // the picture's name
    Kind kind;
    layout::Size size{};      // WrongSize: what the picture has
    layout::Size expected{};  // WrongSize: what it must have
};

// How each kind of problem is said of one package, each a whole sentence of the catalogue
// (marked here, translated where shown): %1 is the package's file name, %2 the size the
// picture has and %3 the size it must have, as WIDTHxHEIGHT.
struct SkinPairTexts {
    const char* missing;  // null where the package need not hold every picture
    const char* undecodable;
    const char* wrongSize;
    const char* extra;
};

// What a package beside a skin must be to stand in for the skin's pictures: how many times the
// skin's width and height its pictures are, whether it holds every picture of the skin or only
// some (a language package holds those with words), and how the game speaks of it.
struct SkinCompanion {
    int scale;
    bool wholeSkin;
    SkinPairTexts problems;
    // The warning when the game leaves the package out, for one problem and for more: %1 the
    // package's file name, %2 the skin's, %3 the first problem's picture and %4 the problem;
    // %5 how many more problems there are.
    const char* dropped;
    PluralText droppedMore;
};

inline constexpr SkinCompanion kSkinAt2x{
    2,
    true,
    {TrMark("missing from the 2x skin"), TrMark("undecodable in the 2x skin"),
     // TRANSLATORS: %2 is the size a picture has, %3 the size it must have, as WIDTHxHEIGHT.
     TrMark("%2 in the 2x skin, expected %3"), TrMark("only in the 2x skin")},
    // TRANSLATORS: %1 and %2 are file names, %3 a picture's name and %4 what is wrong with it.
    TrMark("%1 does not match %2, so the 1x skin is used: %3: %4"),
    TrMarkN("%1 does not match %2, so the 1x skin is used: %3: %4 (and %5 more)",
            "%1 does not match %2, so the 1x skin is used: %3: %4 (and %5 more)")};
inline constexpr SkinCompanion kLanguagePackage{
    1,
    false,
    {nullptr, TrMark("undecodable in the language package"),
     // TRANSLATORS: %2 is the size a picture has, %3 the size it must have, as WIDTHxHEIGHT.
     TrMark("%2 in the language package, expected %3"), TrMark("only in the language package")},
    // TRANSLATORS: %1 and %2 are file names, %3 a picture's name and %4 what is wrong with it.
    TrMark("%1 does not match %2, so the skin's own pictures are used: %3: %4"),
    TrMarkN("%1 does not match %2, so the skin's own pictures are used: %3: %4 (and %5 more)",
            "%1 does not match %2, so the skin's own pictures are used: %3: %4 (and %5 more)")};
// Against the 1x language package it goes with.
inline constexpr SkinCompanion kLanguagePackageAt2x{
    2,
    true,
    {TrMark("missing from the 2x language package"),
     TrMark("undecodable in the 2x language package"),
     // TRANSLATORS: %2 is the size a picture has, %3 the size it must have, as WIDTHxHEIGHT.
     TrMark("%2 in the 2x language package, expected %3"),
     TrMark("only in the 2x language package")},
    // TRANSLATORS: %1 and %2 are file names, %3 a picture's name and %4 what is wrong with it.
    TrMark("%1 does not match %2, so the 1x language pictures are used: %3: %4"),
    TrMarkN("%1 does not match %2, so the 1x language pictures are used: %3: %4 (and %5 more)",
            "%1 does not match %2, so the 1x language pictures are used: %3: %4 (and %5 more)")};

// The problems said of a package named by its file, as corvalin-dat names each package it checks.
inline constexpr SkinPairTexts kProblemsInFile{
    // TRANSLATORS: %1 is a file name.
    TrMark("missing from %1"), TrMark("undecodable in %1"),
    // TRANSLATORS: %1 is a file name, %2 the size a picture has, %3 the size it must have.
    TrMark("%2 in %1, expected %3"), TrMark("only in %1")};

// Every picture name in other and not in skin (and, for a whole skin, in skin and not in
// other), and every picture of other that does not decode or is not exactly scale times its
// skin picture's width and height. Empty when other can stand in for skin's pictures. Reads
// only the pictures' headers.
std::vector<SkinPairProblem> CompareSkins(const ImagePackage& skin, const ImagePackage& other,
                                          const SkinCompanion& companion);

// The problem in the player's language, said with texts of the package at otherFile.
std::string SkinPairProblemText(const SkinPairProblem& problem, const SkinPairTexts& texts,
                                const std::string& otherFile);

// The companion's dropped warning in the player's language, naming the files by their file
// names, for problems that are not empty.
std::string DroppedCompanionMessage(const std::string& skinFile, const std::string& otherFile,
                                    const SkinCompanion& companion,
                                    const std::vector<SkinPairProblem>& problems);
