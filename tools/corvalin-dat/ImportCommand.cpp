// import PICFILE IMAGE...: the library panel's Add, one image after another, from the shell.
#include <sys/stat.h>

#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
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
            std::cout << *image << "\trefused: " << OneLine(RefusalMessage(picture)) << '\n';
            anyRefused = true;
            continue;
        }
        // Another writer may have changed the file since: the change is made to it as it is
        // now, and a name it took meanwhile is refused. A FileError ends the command; what was
        // added stays added.
        const bool added = ChangePackageFile(packagePath, [&](ImagePackage& current) {
            if (current.FindData(picture.libraryName) != nullptr) return false;
            current.AddEntry(picture.libraryName, std::move(picture.jpeg));
            current.GetNames(names);
            return true;
        });
        if (!added) {
            picture.refusal = ImportRefusal::DuplicateName;
            std::cout << *image << "\trefused: " << OneLine(RefusalMessage(picture)) << '\n';
            anyRefused = true;
            continue;
        }
        std::cout << *image << "\tadded as " << picture.libraryName << '\n';
    }
    return anyRefused ? kFailure : kSuccess;
}
