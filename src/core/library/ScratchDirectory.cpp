#include "core/library/ScratchDirectory.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/io/FileError.h"
#include "core/io/FileIO.h"

namespace {

std::string TemporaryFolder() {
    const char* fromEnvironment = std::getenv("TMPDIR");
    std::string folder =
        fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "/tmp";
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

ScratchDirectory::ScratchDirectory(const std::string& prefix) {
    std::string pattern = TemporaryFolder() + "/" + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp picks a name nobody holds and makes the directory readable by its owner only.
    if (::mkdtemp(name.data()) == nullptr) throw FileError(pattern, DescribeErrno(errno));
    m_path = std::string(name.data()) + "/";
}

ScratchDirectory::~ScratchDirectory() {
    if (DIR* directory = ::opendir(m_path.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            ::unlink((m_path + entry->d_name).c_str());
        }
        ::closedir(directory);
    }
    ::rmdir(m_path.c_str());
}
