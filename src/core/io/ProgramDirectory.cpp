#include "core/io/ProgramDirectory.h"

#include <unistd.h>

#include <array>

std::string DirectoryOfPath(const std::string& programPath) {
    auto slash = programPath.rfind('/');
    return slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
}

std::string GetProgramDirectory() {
    std::array<char, 4096> buffer{};
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    return DirectoryOfPath(std::string(buffer.data(), static_cast<std::size_t>(length)));
}
