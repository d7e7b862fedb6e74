#include "core/skin/SkinFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::string WithStem(const std::string& file, const std::string& stem) {
    const std::filesystem::path path(file);
    return (path.parent_path() / (stem + path.extension().string())).string();
}

}  // namespace

std::string SkinFileAt2x(const std::string& skinFile) {
    return WithStem(skinFile, std::filesystem::path(skinFile).stem().string() + "@2x");
}

std::string SkinLanguageFile(const std::string& skinFile, const std::string& language) {
    return WithStem(skinFile, std::filesystem::path(skinFile).stem().string() + "." + language);
}

bool IsLanguageName(const std::string& language) {
    return !language.empty() && std::all_of(language.begin(), language.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '@';
    });
}

std::vector<std::string> SkinLanguagesBeside(const std::string& skinFile) {
    const std::filesystem::path skin(skinFile);
    const std::string prefix = skin.stem().string() + ".";
    const std::string suffix = skin.extension().string();
    std::vector<std::string> languages;
    std::error_code error;
    const std::filesystem::path folder = skin.has_parent_path() ? skin.parent_path() : ".";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(suffix))
            continue;
        const std::string language =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (IsLanguageName(language)) languages.push_back(language);
    }
    std::sort(languages.begin(), languages.end());
    return languages;
}
