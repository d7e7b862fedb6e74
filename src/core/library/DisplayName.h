#pragma once

#include <string>

// The text shown for a picture: its library name less its last four bytes
// (".jpg" for every imported picture); "" for a name of four bytes or fewer.
std::string DisplayName(const std::string& name);
