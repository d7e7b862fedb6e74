#include "core/io/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"
#include "core/text/Translation.h"

namespace {

constexpr std::chrono::milliseconds kRetryPause{5};

std::string LinkTarget(const std::string& path) {
    try {
        return ResolveLinks(path);
    } catch (const FileError& error) {
        throw FileError(path,
                        Substitute(Tr("cannot be opened (%1), not changed"), {error.Cause()}));
    }
}

int OpenLockFile(const std::string& lockPath) {
    if (int error = WriteStep("open lock")) {
        errno = error;
        return -1;
    }
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // Another user's lock file may be read-only to us; flock works on any descriptor.
    if (fd < 0 && errno == EACCES) fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds timeout)
    : m_target(LinkTarget(path)) {
    m_fd = OpenLockFile(m_target + ".lock");
    if (m_fd < 0)
        throw FileError(
            path, Substitute(Tr("cannot be locked (%1), not changed"), {DescribeErrno(errno)}));
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int error = WriteStep("flock");
        if (error == 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0) return;
        if (error == 0) error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            ::close(m_fd);
            throw FileError(path, error == EWOULDBLOCK
                                      ? Tr("is being changed by another program, not changed; try "
                                           "again")
                                      : Substitute(Tr("cannot be locked (%1), not changed"),
                                                   {DescribeErrno(error)}));
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

FileLock::~FileLock() {
    WriteStep("unlock");
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}
