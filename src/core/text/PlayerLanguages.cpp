#include "core/text/PlayerLanguages.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

std::string_view FirstSet(EnvironmentLookup lookup, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = lookup(name);
        if (value && *value) return value;
    }
    return {};
}

void AddWithBareLanguage(std::string_view entry, std::vector<std::string>& out) {
    entry = entry.substr(0, entry.find_first_of(".@"));
    if (entry.empty() || entry == "C" || entry == "POSIX") return;
    const auto add = [&out](std::string_view language) {
        if (std::find(out.begin(), out.end(), language) == out.end()) out.emplace_back(language);
    };
    add(entry);
    if (const auto underscore = entry.find('_'); underscore != std::string_view::npos)
        add(entry.substr(0, underscore));
}

}  // namespace

std::vector<std::string> PlayerLanguages(EnvironmentLookup lookup) {
    const std::string_view locale = FirstSet(lookup, {"LC_ALL", "LC_MESSAGES", "LANG"});
    // gettext leaves LANGUAGE aside under the plain C locale (not under C.UTF-8), and so does
    // the game.
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    std::vector<std::string> languages;
    std::string_view list = FirstSet(lookup, {"LANGUAGE"});
    if (list.empty()) list = locale;
    while (!list.empty()) {
        const auto colon = list.find(':');
        AddWithBareLanguage(list.substr(0, colon), languages);
        list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
    }
    return languages;
}

std::vector<std::string> PlayerLanguages() {
    return PlayerLanguages([](const char* name) -> const char* { return std::getenv(name); });
}
