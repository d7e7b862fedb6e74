#include "core/library/DroppedFiles.h"

#include <sys/stat.h>

namespace {

constexpr std::string_view kFileScheme = "file://";
constexpr std::string_view kLocalHost = "localhost";

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return bytes;
}

// The local path a file: URL names; nullopt for any other URL.
std::optional<std::string> LocalPath(std::string_view url) {
    if (url.substr(0, kFileScheme.size()) != kFileScheme) return std::nullopt;
    url.remove_prefix(kFileScheme.size());
    const auto slash = url.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = url.substr(0, slash);
    if (!host.empty() && host != kLocalHost) return std::nullopt;
    std::optional<std::string> path = PercentDecoded(url.substr(slash));
    if (!path || path->find('\0') != std::string::npos) return std::nullopt;
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::optional<std::vector<std::string>> DroppedFiles(std::string_view uriList) {
    std::vector<std::string> files;
    while (!uriList.empty()) {
        const auto end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        std::optional<std::string> path = LocalPath(line);
        if (!path || IsFolder(*path)) return std::nullopt;
        files.push_back(std::move(*path));
    }
    if (files.empty()) return std::nullopt;
    return files;
}
