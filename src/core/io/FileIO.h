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

// Replaces path with exactly these bytes: a temporary file beside it is written,
// flushed to disk and renamed over it, so a crash or full disk leaves either the
// old file or the new one whole. Throws FileError and leaves the old file as it was.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The same, with the content written by writeContent into the temporary file's descriptor
// (open for reading and writing); a FileError it throws abandons the write the same way.
void WriteFileAtomically(const std::string& path, const std::function<void(int fd)>& writeContent);

// Writes every byte to fd; throws FileError naming path.
void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path);

// Copies length bytes from offset of the open file from to the end of to. Throws FileError naming fromPath when from holds fewer bytes, toPath when to fails.
void CopyRange(int from, std::uint64_t offset, std::uint64_t length, const std::string& fromPath,
               int to, const std::string& toPath);

// Reads exactly size bytes at offset; false when the file ends first or cannot be read.
bool ReadAt(int fd, std::uint64_t offset, void* destination, std::size_t size);

// For tests that stop a writer between any two of its system calls: when set, hook is
// called with the call's name just before each one WriteFileAtomically makes.
void SetWriteStepHook(void (*hook)(const char* call));

// Copies path to destination (replacing it). Throws FileError.
void CopyFile(const std::string& path, const std::string& destination);

// errno as a sentence for the player.
std::string DescribeErrno(int error);
