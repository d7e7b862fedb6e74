#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The files a drop from a file manager names, from its text/uri-list bytes: one URL a line
// (CR LF or LF), '#' lines being comments. Each must be a file: URL of this machine (no host, or
// "localhost"); its path is percent-decoded to the file name's own bytes, whatever they are.
// Nullopt, so that nothing at all is imported, when the list names nothing, holds a URL of
// another scheme or host or a bad escape, or names a folder.
std::optional<std::vector<std::string>> DroppedFiles(std::string_view uriList);
