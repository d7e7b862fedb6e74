#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// The gettext catalogues the skin's words come from, read at build time.

// The languages a LINGUAS file lists, in its order: names separated by blanks or lines, '#'
// starting a comment. Throws std::runtime_error when the file cannot be read or a name cannot be
// part of a file name.
std::vector<std::string> ReadLanguageList(const std::filesystem::path& linguas);

// The translations a .po file gives in that context, English msgid to msgstr, without the
// fuzzy, obsolete and untranslated entries, which gettext would not use either. Throws
// std::runtime_error when the file does not read as a catalogue; the parser's messages, with
// file and line, go to stderr.
std::map<std::string, std::string> ReadTranslations(const std::filesystem::path& poFile,
                                                    const std::string& context);
