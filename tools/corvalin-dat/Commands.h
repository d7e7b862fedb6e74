#pragma once

#include <string>
#include <vector>

// Exit codes of corvalin-dat.
enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

using Arguments = std::vector<std::string>;

// Each command takes the arguments after its name and returns an exit code.
int ListPackage(const Arguments& args);
int ExtractEntry(const Arguments& args);
int AddEntry(const Arguments& args);
int RemoveEntry(const Arguments& args);
int ShowScores(const Arguments& args);
int ImportPictures(const Arguments& args);
int CheckSkin(const Arguments& args);

// Prints "corvalin-dat: FILE: what" to stderr.
void ReportError(const std::string& file, const std::string& what);
// Prints the usage to stderr and returns kUsage.
int UsageError();
