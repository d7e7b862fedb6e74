#pragma once

#include <optional>
#include <string>

// Names in corvalin-dat's one-record-a-line output are escaped, so a name holding a tab or a
// newline cannot split a record: tab as \t, newline as \n, backslash as \\, every other control
// byte (below 0x20, and 0x7F) as \xHH with two lower-case hex digits. Other bytes, UTF-8 or not,
// are printed as they are.
std::string EscapeName(const std::string& name);

// The name a NAME argument means: the same escapes read back (\xHH with either case). Nullopt
// for a backslash followed by anything else, or by \x without two hex digits.
std::optional<std::string> UnescapeName(const std::string& argument);
