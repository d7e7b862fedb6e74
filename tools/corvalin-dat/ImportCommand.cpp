// import PICFILE IMAGE...: the library panel's Add, one image after another, from the shell.
#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
#include "NameEscapes.h"
#include "core/library/PictureLibrary.h"
#include "library/PictureImport.h"

namespace {

std::string OneLine(const QString& message) {
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.toStdString();
}

}  // namespace

int ImportPictures(const Arguments& args) {
    if (args.size() < 2) return UsageError();
    PictureLibrary library;
    library.Load(args[0]);
    auto application = StartImageReaders();

    bool anyRefused = false;
    for (auto image = args.begin() + 1; image != args.end(); ++image) {
        AddResult result = library.Add(*image, ConvertPicture);
        switch (result.outcome) {
            case AddResult::Outcome::Added:
                std::cout << EscapeName(*image) << "\tadded as "
                          << EscapeName(result.picture.libraryName) << '\n';
                break;
            case AddResult::Outcome::Refused:
                std::cout << EscapeName(*image)
                          << "\trefused: " << OneLine(RefusalMessage(result.picture)) << '\n';
                anyRefused = true;
                break;
            case AddResult::Outcome::FileFailed:
                throw *result.error;  // ends the command; what was added stays added
        }
    }
    return anyRefused ? kFailure : kSuccess;
}
