#pragma once

#include <string>

// A directory of the user's own (mode 0700, a fresh name) under the system's temporary
// folder ($TMPDIR, else /tmp), made for one job; it goes, with every file in it, when the
// object goes, whatever the job's outcome.
class ScratchDirectory {
public:
    // Throws FileError when the directory cannot be made.
    explicit ScratchDirectory(const std::string& prefix);
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    virtual ~ScratchDirectory();

    // The directory, ending with '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
