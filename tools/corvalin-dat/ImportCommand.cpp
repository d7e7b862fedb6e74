// import PICFILE IMAGE...: the library panel's Add, one image after another, from the shell;
// import --library IMAGE...: the same into the player's library, where the game keeps it.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "Commands.h"
#include "NameEscapes.h"
#include "core/io/ProgramDirectory.h"
#include "core/library/PictureConversion.h"
#include "core/library/PictureLibrary.h"
#include "core/text/Translation.h"

namespace {

std::string OneLine(std::string message) {
    std::replace(message.begin(), message.end(), '\n', ' ');
    return message;
}

}  // namespace

int ImportPictures(const Arguments& args) {
    if (args.size() < 2) return UsageError();
    PictureLibrary library;
    if (args[0] == "--library") {
        library.LoadFromFolders(FindDataFolders());
    } else {
        // Without its folder the library cannot even be locked: say so plainly.
        const std::filesystem::path folder = std::filesystem::path(args[0]).parent_path();
        std::error_code ignored;
        if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
            ReportError(args[0], Substitute(Tr("the folder %1 does not exist"), {folder.string()}));
            return kFailure;
        }
        library.Load(args[0]);
    }
    const std::string libraryFile = library.Path();
    // A damaged library is written with its whole entries; the first change keeps it aside.
    std::string damage = library.Package().Damage();

    bool anyRefused = false;
    for (auto image = args.begin() + 1; image != args.end(); ++image) {
        AddResult result = library.Add(*image, ConvertPicture);
        switch (result.outcome) {
            case AddResult::Outcome::Added:
                if (!damage.empty()) {
                    ReportError(libraryFile,
                                Substitute(Tr("damaged: %1; the original is kept beside it as a "
                                              ".damaged copy"),
                                           {damage}));
                    damage.clear();
                }
                std::cout << EscapeName(*image) << '\t'
                          << Substitute(Tr("added as %1"), {EscapeName(result.picture.libraryName)})
                          << '\n';
                break;
            case AddResult::Outcome::Refused:
                if (result.picture.refusal == ImportRefusal::NoDecoder) {
                    // Said once: every image after it would be refused the same way.
                    std::cerr << "corvalin-dat: " << OneLine(RefusalText(result.picture)) << '\n';
                    return kFailure;
                }
                std::cout << EscapeName(*image) << '\t'
                          << Substitute(Tr("refused: %1"), {OneLine(RefusalText(result.picture))})
                          << '\n';
                anyRefused = true;
                break;
            case AddResult::Outcome::FileFailed:
                throw *result.error;  // ends the command; what was added stays added
        }
    }
    return anyRefused ? kFailure : kSuccess;
}
