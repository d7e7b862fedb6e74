#include <sys/stat.h>

#include <cerrno>
#include <iostream>

#include "Commands.h"
#include "ImageReaders.h"
#include "NameEscapes.h"
#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/package/ImagePackage.h"
#include "core/package/PackageFile.h"
#include "core/text/Translation.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Loads a package; on failure reports it and says why through the return value.
enum class Loaded { Whole, Damaged, Unopened };

Loaded LoadPackage(ImagePackage& package, const std::string& path) {
    if (package.Load(path)) return Loaded::Whole;
    if (!package.Damage().empty()) {
        ReportError(path, Substitute(Tr("damaged: %1"), {package.Damage()}));
        return Loaded::Damaged;
    }
    ReportError(path, Exists(path) ? Tr("cannot be opened") : Tr("no such file"));
    return Loaded::Unopened;
}

std::string BaseName(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool ChangePackageFile(const std::string& path, const std::function<bool(ImagePackage&)>& change) {
    ImagePackage package;
    return UpdatePackageFile(package, path, [&](ImagePackage& current) {
        if (!current.Damage().empty())
            throw FileError(path, Substitute(Tr("damaged: %1, not changed"), {current.Damage()}));
        return change(current);
    });
}

int ListPackage(const Arguments& args) {
    if (args.size() != 1) return UsageError();
    ImagePackage package;
    Loaded loaded = LoadPackage(package, args[0]);
    const auto& entries = package.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::cout << i << '\t' << EscapeName(entries[i].name) << '\t' << entries[i].DataLength()
                  << '\t' << PictureSizeText(entries[i].data) << '\n';
    }
    return loaded == Loaded::Whole ? kSuccess : kFailure;
}

int ExtractEntry(const Arguments& args) {
    if (args.size() != 3) return UsageError();
    const std::optional<std::string> name = UnescapeName(args[1]);
    if (!name) return UsageError();
    ImagePackage package;
    Loaded loaded = LoadPackage(package, args[0]);
    const auto* data = package.FindData(*name);
    if (data == nullptr) {
        if (loaded == Loaded::Whole)
            ReportError(args[0], Substitute(Tr("no entry named \"%1\""), {EscapeName(*name)}));
        return kFailure;
    }
    WriteFileAtomically(args[2], *data);
    return loaded == Loaded::Whole ? kSuccess : kFailure;
}

int AddEntry(const Arguments& args) {
    if (args.size() != 2 && args.size() != 3) return UsageError();
    const std::string& packagePath = args[0];
    const std::optional<std::string> given =
        args.size() == 3 ? UnescapeName(args[2]) : std::optional(BaseName(args[1]));
    if (!given) return UsageError();
    const std::string& name = *given;
    if (name.size() > ImagePackage::kMaxNameLength) {
        ReportError(args[1],
                    Substitute(Tr("the name \"%1\" is longer than 127 bytes"), {EscapeName(name)}));
        return kFailure;
    }
    auto bytes = ReadWholeFile(args[1]);
    if (!bytes) throw FileError(args[1], DescribeErrno(ENOENT));
    ChangePackageFile(packagePath, [&](ImagePackage& package) {
        package.AddEntry(name, std::move(*bytes));
        return true;
    });
    return kSuccess;
}

int RemoveEntry(const Arguments& args) {
    if (args.size() != 2) return UsageError();
    const std::optional<std::string> name = UnescapeName(args[1]);
    if (!name) return UsageError();
    if (!Exists(args[0])) {
        ReportError(args[0], Tr("no such file"));
        return kFailure;
    }
    const bool removed =
        ChangePackageFile(args[0], [&](ImagePackage& package) { return package.Remove(*name); });
    if (!removed) {
        ReportError(args[0], Substitute(Tr("no entry named \"%1\""), {EscapeName(*name)}));
        return kFailure;
    }
    return kSuccess;
}
