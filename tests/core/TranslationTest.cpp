#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "core/text/Translation.h"

namespace {

struct Case {
    const char* lang;
    const char* language;  // LANGUAGE, or null for unset
    const char* expected;
};

// The build's own catalogues; the locales named need not be installed on this machine, as
// on a fresh one: the texts follow the player's languages all the same.
TEST(TranslationTest, TextsComeInThePlayersLanguage) {
    const Case cases[] = {
        {"de_DE.UTF-8", nullptr, "Bitte geben Sie Ihren Namen ein!"},
        {"C.UTF-8", "ja", "名前を入力してください！"},
        {"en_US.UTF-8", "ru:de", "Пожалуйста, введите своё имя!"},
        {"pt_BR.UTF-8", nullptr, "Por favor, digite seu nome!"},
        // The plain C locale is English whatever LANGUAGE says; so is a language without a
        // catalogue.
        {"C", "de", "Please input your name!"},
        {"eo.UTF-8", nullptr, "Please input your name!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + (c.language ? c.language : "-"));
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        ::setenv("LANG", c.lang, 1);
        if (c.language)
            ::setenv("LANGUAGE", c.language, 1);
        else
            ::unsetenv("LANGUAGE");
        std::setlocale(LC_ALL, "C");
        StartTranslations(CORVALIN_BUILD_LOCALE);
        EXPECT_STREQ(Tr("Please input your name!"), c.expected);
    }
}

TEST(TranslationTest, SubstitutePlacesArgumentsWhereTheTranslationPutsThem) {
    EXPECT_EQ(Substitute("%2 of %1: %3%", {"a", "b", "c"}), "b of a: c%");
    EXPECT_EQ(Substitute("100% %1 %9", {"x"}), "100% x %9");
}

}  // namespace
