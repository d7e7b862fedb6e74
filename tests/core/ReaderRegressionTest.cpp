// Inputs the fuzz targets found faults with, kept as tests. Some faults show only in the
// sanitizer build, which runs these with every other test.

#include <gtest/gtest.h>

#include "core/package/ImagePackage.h"
#include "support/ByteFiles.h"
#include "support/TempDirTest.h"

namespace {

class ReaderRegressionTest : public TempDirTest {};

TEST_F(ReaderRegressionTest, PackageFileWithAnEmptyEntryLoadsWithoutTouchingANullBuffer) {
    const auto file =
        Hex("02 00 00 00"                                            // entry count 2
            "09 00 00 00  45 6D 70 74 79 2E 6A 70 67"                // "Empty.jpg"
            "00 00 00 00  00 00 00 00"                               // no data, reserved 0
            "05 00 00 00  41 2E 6A 70 67  02 00 00 00  00 00 00 00"  // "A.jpg", 2 bytes
            "FF D8");
    WriteBytes(PathOf("Pic.dat"), file);
    ImagePackage package;
    ASSERT_TRUE(package.Load(PathOf("Pic.dat")));
    ASSERT_EQ(package.Entries().size(), 2u);
    EXPECT_TRUE(package.Entries()[0].data.empty());
    EXPECT_EQ(package.ToBytes(), file);
}

}  // namespace
