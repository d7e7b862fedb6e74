#include "core/library/ImportedPicture.h"

#include <algorithm>

#include "core/library/DisplayName.h"
#include "core/package/ImagePackage.h"

namespace {

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ShownNameTaken(const std::string& fileName, const std::vector<std::string>& libraryNames) {
    const std::string shown = DisplayName(fileName);
    return std::any_of(libraryNames.begin(), libraryNames.end(),
                       [&](const std::string& name) { return DisplayName(name) == shown; });
}

ImportedPicture Refused(ImportRefusal refusal, std::string libraryName) {
    ImportedPicture picture;
    picture.refusal = refusal;
    picture.libraryName = std::move(libraryName);
    return picture;
}

}  // namespace

std::string LibraryNameFor(const std::string& path) {
    const std::string fileName = FileNameOf(path);
    const auto dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".jpg";
}

ImportedPicture PreparePicture(const std::string& path,
                               const std::vector<std::string>& libraryNames,
                               const PictureConverter& convert) {
    std::string libraryName = LibraryNameFor(path);
    if (ShownNameTaken(FileNameOf(path), libraryNames) ||
        std::find(libraryNames.begin(), libraryNames.end(), libraryName) != libraryNames.end())
        return Refused(ImportRefusal::DuplicateName, std::move(libraryName));
    if (libraryName.size() > ImagePackage::kMaxNameLength)
        return Refused(ImportRefusal::NameTooLong, std::move(libraryName));
    ImportedPicture picture = convert(path);
    picture.libraryName = std::move(libraryName);
    if (!picture.Accepted()) picture.jpeg.clear();
    return picture;
}
