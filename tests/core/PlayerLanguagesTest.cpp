#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/text/PlayerLanguages.h"

namespace {

std::map<std::string, std::string> environment;

const char* Lookup(const char* name) {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
}

struct Case {
    std::map<std::string, std::string> environment;
    std::vector<std::string> languages;
};

TEST(PlayerLanguagesTest, ChosenAsGettextChooses) {
    const Case cases[] = {
        {{}, {}},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE", "de"}},
        {{{"LANG", "sr_RS.UTF-8@latin"}}, {"sr_RS", "sr"}},
        {{{"LANG", "ja"}}, {"ja"}},
        // LC_ALL before LC_MESSAGES before LANG; an empty one counts as unset.
        {{{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "ru_RU"}}, {"fr_FR", "fr"}},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "pl_PL.UTF-8"}, {"LANG", "ru_RU"}}, {"pl_PL", "pl"}},
        // LANGUAGE's list wins over the locale, in its order, each language once.
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "pt_BR:pt:de"}}, {"pt_BR", "pt", "de"}},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "zh_TW:"}}, {"zh_TW", "zh"}},
        // The C locale means English, whatever LANGUAGE asks; C.UTF-8 alone too.
        {{{"LANG", "C"}, {"LANGUAGE", "de"}}, {}},
        {{{"LC_ALL", "POSIX"}, {"LANGUAGE", "de"}}, {}},
        {{{"LANGUAGE", "de"}}, {}},
        {{{"LANG", "C.UTF-8"}}, {}},
    };
    for (const Case& c : cases) {
        environment = c.environment;
        EXPECT_EQ(PlayerLanguages(Lookup), c.languages)
            << "LANG=" << (Lookup("LANG") ? Lookup("LANG") : "(unset)")
            << " LANGUAGE=" << (Lookup("LANGUAGE") ? Lookup("LANGUAGE") : "(unset)");
    }
}

}  // namespace
