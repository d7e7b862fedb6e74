#include "NameEscapes.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

}  // namespace

std::string EscapeName(const std::string& name) {
    std::string escaped;
    escaped.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t')
            escaped += "\\t";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\\')
            escaped += "\\\\";
        else if (byte < 0x20 || byte == 0x7F) {
            escaped += "\\x";
            escaped += kHexDigits[byte >> 4];
            escaped += kHexDigits[byte & 0xF];
        } else
            escaped += c;
    }
    return escaped;
}

std::optional<std::string> UnescapeName(const std::string& argument) {
    std::string name;
    name.reserve(argument.size());
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '\\') {
            name += argument[i];
            continue;
        }
        if (++i == argument.size()) return std::nullopt;
        switch (argument[i]) {
            case 't':
                name += '\t';
                break;
            case 'n':
                name += '\n';
                break;
            case '\\':
                name += '\\';
                break;
            case 'x': {
                if (i + 2 >= argument.size()) return std::nullopt;
                const int high = HexValue(argument[i + 1]), low = HexValue(argument[i + 2]);
                if (high < 0 || low < 0) return std::nullopt;
                name += static_cast<char>(high << 4 | low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return name;
}
