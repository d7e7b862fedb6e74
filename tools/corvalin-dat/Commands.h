#pragma once

#include <functional>
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
int SolveBoard(const Arguments& args);

class ImagePackage;
// One locked read-modify-write of the package file at path (see UpdatePackageFile): change
// sees the file as it is now. A file that is damaged or cannot be read is not changed: a
// FileError saying so is thrown.
bool ChangePackageFile(const std::string& path, const std::function<bool(ImagePackage&)>& change);

// Reports every picture of a skin package that reads but does not decode whole (cut short, a
// damaged scan), which the game would draw grey or garbled, as "NAME<tab>damaged", damaged
// saying it in the player's language and where; true when there is none. A picture whose
// header does not read is the size checks' to report.
bool CheckPicturesWhole(const ImagePackage& skin, const std::string& damaged);

// Prints "corvalin-dat: FILE: what" to stderr.
void ReportError(const std::string& file, const std::string& what);
// Prints the usage to stderr and returns kUsage.
int UsageError();
