// import PICFILE IMAGE...: the library panel's Add, one image after another, from the shell.
#include <sys/stat.h>

#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
#include "NameEscapes.h"
#include "core/package/ImagePackage.h"
#include "library/PictureImport.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string OneLine(const QString& message) {
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.toStdString();
}

}  // namespace

int ImportPictures(const Arguments& args) {
    if (args.size() < 2) return UsageError();
    const std::string& packagePath = args[0];
    ImagePackage package;
    if (Exists(packagePath) && !package.Load(packagePath)) {
        const std::string damage = package.Damage();
        ReportError(packagePath,
                    (damage.empty() ? "cannot be opened" : "damaged: " + damage) + ", not changed");
        return kFailure;
    }
    auto application = StartImageReaders();

    std::vector<std::string> names;
    package.GetNames(names);
    bool anyRefused = false;
    for (auto image = args.begin() + 1; image != args.end(); ++image) {
        ImportedPicture picture = PreparePicture(*image, names);
        if (!picture.Accepted()) {
            std::cout << EscapeName(*image) << "\trefused: " << OneLine(RefusalMessage(picture))
                      << '\n';
            anyRefused = true;
            continue;
        }
        package.AddEntry(picture.libraryName, std::move(picture.jpeg));
        package.Save(packagePath);  // a FileError ends the command; what was added stays added
        names.push_back(picture.libraryName);
        std::cout << EscapeName(*image) << "\tadded as " << EscapeName(picture.libraryName) << '\n';
    }
    return anyRefused ? kFailure : kSuccess;
}
