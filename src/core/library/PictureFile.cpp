#include "core/library/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "core/picture/DecodeLimits.h"

Descriptor OpenPictureFile(const std::string& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) return file;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) > kMaxPictureFileBytes)
        return Descriptor(-1);
    // The reader blocks as a file's reader does.
    ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}
