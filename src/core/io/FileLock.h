#pragma once

#include <chrono>
#include <string>

// An exclusive advisory lock (flock) on PATH.lock beside the file actually written (a
// link's target), held for one read-modify-write of that file. Every writer of Pic.dat and
// Score.dat, the game and the shell tool alike, takes it, so no change is lost to another
// writer; readers need none, since files are only ever replaced whole. The lock file
// stays: removing it could let two writers lock two different files.
class FileLock {
public:
    static constexpr std::chrono::milliseconds kTimeout{4000};

    // Waits up to timeout for the lock; throws FileError naming path when it cannot be had.
    explicit FileLock(const std::string& path, std::chrono::milliseconds timeout = kTimeout);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // The file the lock guards: path with its links followed.
    const std::string& Target() const { return m_target; }

private:
    std::string m_target;
    int m_fd = -1;
};
