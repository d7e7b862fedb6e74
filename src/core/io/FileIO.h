#pragma once

#include <cstdint>
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

// For tests that stop a writer between any two of its system calls: when set, hook is
// called with the call's name just before each one WriteFileAtomically makes.
void SetWriteStepHook(void (*hook)(const char* call));

// Copies path to destination (replacing it). Throws FileError.
void CopyFile(const std::string& path, const std::string& destination);

// errno as a sentence for the player.
std::string DescribeErrno(int error);
