#include "Catalogue.h"

#include <gettext-po.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "core/skin/SkinFiles.h"

namespace {

bool g_catalogueError = false;

void Report(int severity, const char* file, std::size_t line, const char* text) {
    std::cerr << (file ? file : "catalogue");
    if (file && line != static_cast<std::size_t>(-1)) std::cerr << ':' << line;
    std::cerr << ": " << text << (*text && text[std::strlen(text) - 1] == '\n' ? "" : "\n");
    if (severity != PO_SEVERITY_WARNING) g_catalogueError = true;
    // The parser must not go on after a fatal error, and has no way back but this.
    if (severity == PO_SEVERITY_FATAL_ERROR) std::exit(1);
}

void OnError(int severity, po_message_t, const char* file, std::size_t line, std::size_t, int,
             const char* text) {
    Report(severity, file, line, text);
}

void OnError2(int severity, po_message_t, const char* file1, std::size_t line1, std::size_t, int,
              const char* text1, po_message_t, const char* file2, std::size_t line2, std::size_t,
              int, const char* text2) {
    Report(PO_SEVERITY_WARNING, file1, line1, text1);
    Report(severity, file2, line2, text2);
}

const po_xerror_handler kHandler{OnError, OnError2};

}  // namespace

std::vector<std::string> ReadLanguageList(const std::filesystem::path& linguas) {
    std::ifstream in(linguas);
    if (!in) throw std::runtime_error("cannot read " + linguas.string());
    std::vector<std::string> languages;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::size_t start = 0;
        while ((start = line.find_first_not_of(" \t\r", start)) != std::string::npos) {
            const std::size_t end = line.find_first_of(" \t\r", start);
            const std::string language = line.substr(start, end - start);
            if (!IsLanguageName(language)) {
                throw std::runtime_error(linguas.string() + ": \"" + language +
                                         "\" is not a language name");
            }
            languages.push_back(language);
            start = end;
        }
    }
    return languages;
}

std::map<std::string, std::string> ReadTranslations(const std::filesystem::path& poFile,
                                                    const std::string& context) {
    g_catalogueError = false;
    const std::unique_ptr<std::remove_pointer_t<po_file_t>, void (*)(po_file_t)> file(
        po_file_read(poFile.c_str(), &kHandler), po_file_free);
    if (!file || g_catalogueError) throw std::runtime_error("cannot read " + poFile.string());
    std::map<std::string, std::string> translations;
    const std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>,
                          void (*)(po_message_iterator_t)>
        messages(po_message_iterator(file.get(), nullptr), po_message_iterator_free);
    while (po_message_t message = po_next_message(messages.get())) {
        const char* messageContext = po_message_msgctxt(message);
        const char* translation = po_message_msgstr(message);
        if (messageContext == nullptr || context != messageContext ||
            po_message_is_obsolete(message) || po_message_is_fuzzy(message) ||
            translation == nullptr || *translation == '\0')
            continue;
        translations.emplace(po_message_msgid(message), translation);
    }
    return translations;
}
