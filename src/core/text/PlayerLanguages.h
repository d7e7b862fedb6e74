#pragma once

#include <string>
#include <vector>

// Looks up an environment variable; null when unset.
using EnvironmentLookup = const char* (*)(const char* name);

// The languages the player reads, most wanted first, as gettext chooses them: LANGUAGE's
// colon-separated list, else the messages locale (LC_ALL, else LC_MESSAGES, else LANG); a
// locale that is unset, "C" or "POSIX" means English whatever LANGUAGE says ("C.UTF-8" does
// not). Each entry gives its territory
// form before its bare language ("pt_BR" then "pt"); codesets and modifiers are dropped
// ("de_DE.UTF-8@euro" is "de_DE", "de"). Empty means English.
std::vector<std::string> PlayerLanguages(EnvironmentLookup lookup);

// PlayerLanguages of this process's environment.
std::vector<std::string> PlayerLanguages();
