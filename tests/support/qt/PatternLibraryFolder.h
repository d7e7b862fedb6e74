#pragma once

// The data folder most window tests start from: the two-picture pattern library and, before
// every test, no scores.

#include "core/state/AppState.h"
#include "support/DataFolder.h"
#include "support/qt/TestImages.h"

namespace test {

class PatternLibraryFolder : public DataFolder {
public:
    PatternLibraryFolder() { WritePackage("Pic.dat", PatternLibrary()); }

    // Empties Score.dat and loads the folder as the start does: the first picture at 3 x 4.
    void StartAfresh() const {
        WriteScores({});
        App()->LoadData(Path());
    }
};

}  // namespace test
