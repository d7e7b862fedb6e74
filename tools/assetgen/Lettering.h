#pragma once

#include <QString>
#include <filesystem>
#include <map>
#include <string>

// Marks an English label painted on the skin, in its catalogue context, for xgettext (keyword
// PaintedLabel:1c,2), so that the template and every merged catalogue keep it; gives it back.
constexpr const char* PaintedLabel(const char* /*context*/, const char* english) { return english; }

// The words painted on the skin in one language, and the face they are lettered in.
struct Lettering {
    std::string language;                       // as LINGUAS names it; empty for English
    std::map<std::string, std::string> labels;  // English label to the label painted
    QString family;                             // a face AssetFonts registered

    // The label painted for the English one: its translation, else the English.
    QString Text(const char* english) const;
    // "de" or "English", for messages.
    std::string Name() const { return language.empty() ? "English" : language; }
};

// English, in the default face.
Lettering EnglishLettering();

// A language's painted labels (msgctxt "painted label") and face (msgctxt "painted label font",
// msgid the default face's family) from its catalogue. Throws std::runtime_error when the
// catalogue does not read or names a face that is not registered.
Lettering ReadLettering(const std::string& language, const std::filesystem::path& poFile);
