#include <gtest/gtest.h>

#include "core/library/DroppedFiles.h"

namespace {

using Files = std::vector<std::string>;

TEST(DroppedFilesTest, LocalFileUrlsGiveTheirPathsBytesInOrder) {
    EXPECT_EQ(DroppedFiles("file:///photos/Sea.jpg\r\nfile:///photos/Two%20Boats.png\r\n"),
              (Files{"/photos/Sea.jpg", "/photos/Two Boats.png"}));
    // A Latin-1 name from an old disk keeps its byte; so does a newline in a name.
    EXPECT_EQ(DroppedFiles("file:///old/caf%E9.jpg"), (Files{"/old/caf\xe9.jpg"}));
    EXPECT_EQ(DroppedFiles("file:///two%0Alines.jpg\n"), (Files{"/two\nlines.jpg"}));
    EXPECT_EQ(DroppedFiles("# from a file manager\r\nfile://localhost/Sea.jpg"),
              (Files{"/Sea.jpg"}));
}

TEST(DroppedFilesTest, AnythingButLocalFilesRefusesTheWholeDrop) {
    for (const char* list : {"", "# only a comment\r\n", "https://example.org/Sea.jpg",
                             "file:///Sea.jpg\r\nhttps://example.org/Sea.jpg",
                             "file://other-host/Sea.jpg", "file:///bad%zzescape.jpg",
                             "file:///cut%4", "file:///nul%00byte.jpg", "Sea.jpg", "file:///"})
        EXPECT_EQ(DroppedFiles(list), std::nullopt) << list;
}

}  // namespace
