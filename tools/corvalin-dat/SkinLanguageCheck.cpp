#include "SkinLanguageCheck.h"

#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "Commands.h"
#include "core/package/ImagePackage.h"
#include "core/skin/SkinFiles.h"
#include "core/skin/SkinPair.h"
#include "core/text/Translation.h"

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool LoadOrReport(ImagePackage& package, const std::string& path) {
    if (package.Load(path)) return true;
    ReportError(path, package.Damage().empty() ? Tr("cannot be opened")
                                               : Substitute(Tr("damaged: %1"), {package.Damage()}));
    return false;
}

// Prints the problems of package against base, each naming the package's file, as the game
// would leave the package out for any of them.
bool Compare(const ImagePackage& base, const ImagePackage& package, const std::string& path,
             const SkinCompanion& companion) {
    const std::vector<SkinPairProblem> problems = CompareSkins(base, package, companion);
    for (const SkinPairProblem& problem : problems) {
        std::cout << problem.name << '\t' << SkinPairProblemText(problem, kProblemsInFile, path)
                  << '\n';
    }
    // TRANSLATORS: %1 is a file name.
    const std::string damaged = Substitute(Tr("damaged in %1"), {FileName(path)});
    return CheckPicturesWhole(package, damaged) && problems.empty();
}

}  // namespace

bool CheckLanguagePackages(const std::string& skinPath, const ImagePackage& skin) {
    const std::string skin2xPath = SkinFileAt2x(skinPath);
    std::set<std::string> languages;
    for (const std::string& path : {skinPath, skin2xPath}) {
        for (const std::string& language : SkinLanguagesBeside(path)) languages.insert(language);
    }
    bool complete = true;
    std::error_code ignored;
    for (const std::string& language : languages) {
        const std::string path = SkinLanguageFile(skinPath, language);
        const std::string path2x = SkinLanguageFile(skin2xPath, language);
        if (!std::filesystem::exists(path, ignored)) {
            // The game reads a 2x language package only beside its 1x one.
            // TRANSLATORS: %1 is a file name.
            ReportError(path2x, Substitute(Tr("no %1 beside it, so the game never reads it"),
                                           {FileName(path)}));
            complete = false;
            continue;
        }
        ImagePackage package;
        if (!LoadOrReport(package, path)) {
            complete = false;
            continue;
        }
        // The game takes the 2x package only with its 1x one: measured against a 1x one it
        // leaves out, it would report that one's faults again.
        if (!Compare(skin, package, path, kLanguagePackage)) {
            complete = false;
            continue;
        }
        if (!std::filesystem::exists(path2x, ignored)) continue;
        ImagePackage package2x;
        if (!LoadOrReport(package2x, path2x)) {
            complete = false;
            continue;
        }
        complete = Compare(package, package2x, path2x, kLanguagePackageAt2x) && complete;
    }
    return complete;
}
