#include "core/text/Translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "core/text/PlayerLanguages.h"

namespace {

constexpr char kDomain[] = "corvalin";

}  // namespace

void StartTranslations(const std::string& folder) {
    if (!std::setlocale(LC_ALL, "")) {
        // The player's locale is missing here, and gettext would answer in English under the
        // C locale it leaves. C.UTF-8 is always there and lets LANGUAGE choose the catalogue.
        std::string languages;
        for (const std::string& language : PlayerLanguages())
            languages += (languages.empty() ? "" : ":") + language;
        if (!languages.empty() && std::setlocale(LC_MESSAGES, "C.UTF-8"))
            ::setenv("LANGUAGE", languages.c_str(), 1);
    }
    ::bindtextdomain(kDomain, folder.c_str());
    // The game's texts go to Qt and the tool's to a terminal, both UTF-8 whatever the locale.
    ::bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* english) { return ::dgettext(kDomain, english); }

const char* TrN(const char* singular, const char* plural, unsigned long n) {
    return ::dngettext(kDomain, singular, plural, n);
}

const char* TrC(const char* context, const char* english) {
    // A context is stored as "context\4text" in the catalogue, as xgettext writes it.
    const std::string key = std::string(context) + '\4' + english;
    const char* translated = ::dgettext(kDomain, key.c_str());
    return translated == key.c_str() ? english : translated;
}

std::string Substitute(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string result;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t number =
            at + 1 < text.size() && text[at] == '%' ? std::size_t(text[at + 1] - '0') : 0;
        if (number >= 1 && number <= arguments.size()) {
            result += *(arguments.begin() + (number - 1));
            ++at;
        } else {
            result += text[at];
        }
    }
    return result;
}
