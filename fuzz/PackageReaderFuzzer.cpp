// Any bytes as a package file (Skin.dat, Pic.dat): the reader never crashes or over-reads,
// a whole file is written back byte for byte, whatever was read is written in a form that
// reads back the same, and reading from a file agrees with reading from memory.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "core/package/ImagePackage.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "package reader: %s\n", what);
    std::abort();
}

bool SameEntries(const ImagePackage& a, const ImagePackage& b) {
    return std::equal(a.Entries().begin(), a.Entries().end(), b.Entries().begin(),
                      b.Entries().end(), [](const PackageEntry& x, const PackageEntry& y) {
                          return x.name == y.name && x.reserved == y.reserved && x.data == y.data;
                      });
}

// Start-up reads only the headers from the file and each entry's bytes when asked for: load
// the same bytes from an in-memory file and compare lookups, then the written bytes, then the
// entries read whole.
void ExpectFileLoadAgrees(std::span<const std::uint8_t> input, const ImagePackage& fromMemory,
                          bool whole) {
    const int fd = ::memfd_create("package", MFD_CLOEXEC);
    if (fd < 0) Fail("no in-memory file");
    if (!input.empty() &&
        ::write(fd, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        Fail("in-memory file not written");
    ImagePackage fromFile;
    const bool fileWhole = fromFile.Load("/proc/self/fd/" + std::to_string(fd));
    ::close(fd);  // the package keeps a descriptor of its own
    if (fileWhole != whole || fromFile.Damage() != fromMemory.Damage())
        Fail("loading from a file and from memory disagree");
    std::vector<std::string> names;
    fromMemory.GetNames(names);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        const std::vector<std::uint8_t>* lazy = fromFile.FindData(*name);
        if (lazy == nullptr || *lazy != *fromMemory.FindData(*name))
            Fail("a lookup read from the file disagrees with memory");
    }
    if (fromFile.ToBytes() != fromMemory.ToBytes()) Fail("writing from the file disagrees");
    if (!SameEntries(fromFile, fromMemory)) Fail("the entries read from the file disagree");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    ImagePackage package;
    const bool whole = package.LoadFromBytes(input);
    if (whole != package.Damage().empty()) Fail("the result and the damage report disagree");
    for (const PackageEntry& entry : package.Entries()) {
        if (entry.name.size() > ImagePackage::kMaxNameLength) Fail("a name over 127 bytes");
    }

    const std::vector<std::uint8_t> written = package.ToBytes();
    // Bytes after the last data block are no part of the package; all before it come back.
    if (whole && !package.Entries().empty() &&
        (written.size() > size || !std::equal(written.begin(), written.end(), data)))
        Fail("a whole package is not written back byte for byte");

    ImagePackage reloaded;
    if (!reloaded.LoadFromBytes(written)) Fail("what was written does not read back whole");
    if (!SameEntries(reloaded, package)) Fail("what was written reads back different");
    if (reloaded.ToBytes() != written) Fail("writing is not stable");

    for (const PackageEntry& entry : package.Entries()) {
        const auto first =
            std::find_if(package.Entries().begin(), package.Entries().end(),
                         [&](const PackageEntry& e) { return e.name == entry.name; });
        if (package.FindData(entry.name) != &first->data) Fail("a lookup missed the first entry");
    }

    ExpectFileLoadAgrees(input, package, whole);
    return 0;
}
