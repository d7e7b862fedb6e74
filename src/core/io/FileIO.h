#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and crash-safe replacement, shared by every file the game keeps.

// The whole file, or nullopt when it does not exist. Throws FileError when it
// exists but cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// True when the file exists and can be opened for reading, false when it does not exist.
// Throws FileError when it exists but cannot be opened (no permission, not a regular file).
bool FileIsReadable(const std::string& path);

// Replaces path with exactly these bytes: a temporary file beside it is written,
// flushed to disk and renamed over it, so a crash or full disk leaves either the
// old file or the new one whole. A symbolic link is followed: its final target is
// replaced, in the target's folder, and the link stays. Throws FileError and leaves
// the old file as it was.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The same, with the content written by writeContent into the temporary file's descriptor
// (open for reading and writing); a FileError it throws abandons the write the same way.
void WriteFileAtomically(const std::string& path, const std::function<void(int fd)>& writeContent);

// Writes every byte to fd; throws FileError naming path.
void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path);

// Copies length bytes from offset of the open file from to the end of to. Throws FileError naming
// fromPath when from holds fewer bytes, toPath when to fails.
void CopyRange(int from, std::uint64_t offset, std::uint64_t length, const std::string& fromPath,
               int to, const std::string& toPath);

// Reads exactly size bytes at offset; false when the file ends first or cannot be read.
bool ReadAt(int fd, std::uint64_t offset, void* destination, std::size_t size);

// Keeps a copy of path as PATH.damaged, or PATH.damaged.1 up to PATH.damaged.99 when
// earlier copies exist (beside the link's target for a link); an existing copy is never
// overwritten. Returns the copy's path. Throws FileError when the copy cannot be made
// or all kDamagedCopies names are taken.
inline constexpr int kDamagedCopies = 100;
std::string KeepDamagedCopy(const std::string& path);

// path with every symbolic link along its last component followed; path itself when it
// is no link or does not exist. Throws FileError for a loop of links.
std::string ResolveLinks(const std::string& path);

// The temporary files a writer of target makes are named target + kTemporaryInfix + six
// letters or digits. Removes those lying beside target: only a writer that holds
// target's lock may call it, for then they are all left by writers that died.
inline constexpr char kTemporaryInfix[] = ".tmp-";
void RemoveStaleTemporaries(const std::string& target);

// For tests that stop or fail a writer between any two of its system calls: when set, hook
// is called with the call's name just before each one the file code makes for a write
// (and for the readability check); a non-zero result is an errno with which the call fails
// instead of being made.
void SetWriteStepHook(int (*hook)(const char* call));
// Runs the hook for call; the errno to fail with, or 0 to make the call.
int WriteStep(const char* call);

// errno as a sentence for the player.
std::string DescribeErrno(int error);
