// Preloaded (LD_PRELOAD) into a tool a test runs: writes a line for every flush and rename the
// process makes into the file SYNC_WATCH_LOG names, so that the test sees the calls that
// really reach the system, whatever the code's own step hooks report.
//   fsync PATH        renameat2 FROM TO
//   rename FROM TO

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {

template <typename Function>
Function* Next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

std::string PathOf(int fd) {
    char buffer[4096];
    const ssize_t length =
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : "?";
}

void Note(const std::string& line) {
    const char* log = ::getenv("SYNC_WATCH_LOG");
    if (log == nullptr) return;
    const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

}  // namespace

extern "C" int fsync(int fd) {
    Note("fsync " + PathOf(fd));
    return Next<int(int)>("fsync")(fd);
}

extern "C" int rename(const char* from, const char* to) {
    Note(std::string("rename ") + from + " " + to);
    return Next<int(const char*, const char*)>("rename")(from, to);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned int flags) {
    Note(std::string("renameat2 ") + from + " " + to);
    return Next<int(int, const char*, int, const char*, unsigned int)>("renameat2")(
        fromDir, from, toDir, to, flags);
}
