#pragma once

// While alive, TMPDIR names a fresh folder of its own, so a test sees every scratch file
// the code under test makes there; the old value comes back at the end.

#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "support/DataFolder.h"

namespace test {

class ScopedTmpDir {
public:
    ScopedTmpDir() {
        if (const char* old = getenv("TMPDIR")) m_old = old;
        Point(m_folder.Dir().string());
    }
    ~ScopedTmpDir() {
        if (m_old)
            setenv("TMPDIR", m_old->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    ScopedTmpDir(const ScopedTmpDir&) = delete;
    ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

    std::string Path() const { return m_folder.Dir().string(); }
    // What the code under test left there.
    std::vector<std::string> Entries() const { return m_folder.FileNames(); }
    // Points TMPDIR at a folder that does not exist, where no scratch file can be made.
    void PointAtMissingFolder() const { Point(Path() + "/missing"); }

private:
    static void Point(const std::string& path) { setenv("TMPDIR", path.c_str(), 1); }

    std::optional<std::string> m_old;
    DataFolder m_folder;
};

}  // namespace test
