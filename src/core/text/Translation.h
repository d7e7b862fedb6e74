#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The player's texts come from the gettext catalogues of the domain "corvalin". The English
// text is the key and what shows where a language has no catalogue or no translation.

// Sets up the translated texts from the environment's locale, with the catalogues
// <folder>/<language>/LC_MESSAGES/corvalin.mo. Where the player's locale is not installed on
// this machine the texts still come in the player's languages (PlayerLanguages), as the
// painted labels do.
void StartTranslations(const std::string& folder);

// The translation of an English text, as UTF-8.
const char* Tr(const char* english);

// The translation of a text with a count: singular or plural as the language counts n.
const char* TrN(const char* singular, const char* plural, unsigned long n);

// The translation of a text that means something else in another context.
const char* TrC(const char* context, const char* english);

// Marks an English text kept in a table for the catalogue; it is translated (Tr) where shown.
constexpr const char* TrMark(const char* english) { return english; }

// A text with a count kept in a table for the catalogue; TrN chooses its form where shown.
struct PluralText {
    const char* singular;
    const char* plural;
};
constexpr PluralText TrMarkN(const char* singular, const char* plural) {
    return {singular, plural};
}

// text with %1, %2, ... replaced by the arguments in order, as translations place them.
std::string Substitute(std::string_view text, std::initializer_list<std::string_view> arguments);
