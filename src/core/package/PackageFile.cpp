#include "core/package/PackageFile.h"

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/io/FileLock.h"
#include "core/text/Translation.h"

namespace {

// Loads what the file holds now; a damaged file loads the entries read whole, and is kept
// aside by the save.
void LoadCurrent(ImagePackage& package, const std::string& path) {
    bool readable = false;
    try {
        readable = FileIsReadable(path);
    } catch (const FileError& error) {
        throw FileError(path,
                        Substitute(Tr("cannot be opened (%1), not changed"), {error.Cause()}));
    }
    if (!readable) {
        package.Clear();
        return;
    }
    if (!package.Load(path) && package.Damage().empty())
        throw FileError(path, Tr("cannot be opened"));
}

}  // namespace

bool UpdatePackageFile(ImagePackage& package, const std::string& path,
                       const std::function<bool(ImagePackage&)>& change) {
    FileLock lock(path);
    LoadCurrent(package, path);
    if (!change(package)) return false;
    try {
        if (!package.Save(path)) WriteFileAtomically(path, package.ToBytes());
    } catch (const FileError&) {
        LoadCurrent(package, path);
        throw;
    }
    RemoveStaleTemporaries(lock.Target());
    return true;
}
