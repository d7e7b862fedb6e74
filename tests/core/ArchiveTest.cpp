#include <gtest/gtest.h>

#include "core/io/FileError.h"
#include "core/scores/Archive.h"
#include "support/ByteFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Stored(const std::string& text) {
    Archive archive("Score.dat");
    archive.Write(text);
    return archive.Stored();
}

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::string LoadString(const Bytes& bytes) {
    Archive archive(bytes, "Score.dat");
    return archive.ReadString();
}

TEST(ArchiveTest, NumbersAreFourBytesLittleEndian) {
    Archive out("Score.dat");
    out.Write(57u);
    out.Write(0xA1B2C3D4u);
    EXPECT_TRUE(out.IsStoring());
    EXPECT_EQ(out.Stored(), Hex("39 00 00 00  D4 C3 B2 A1"));

    Archive in(out.Stored(), "Score.dat");
    EXPECT_FALSE(in.IsStoring());
    EXPECT_EQ(in.ReadUInt32(), 57u);
    EXPECT_EQ(in.ReadUInt32(), 0xA1B2C3D4u);
}

TEST(ArchiveTest, ShortStringsHaveAOneBytePrefix) {
    EXPECT_EQ(Stored(""), Hex("00"));
    EXPECT_EQ(Stored("player"), Hex("06  70 6C 61 79 65 72"));
    EXPECT_EQ(Stored(std::string(254, 'a')), Concat(Hex("FE"), Bytes(254, 'a')));
}

TEST(ArchiveTest, StringsFrom255BytesHaveAThreeBytePrefix) {
    EXPECT_EQ(Stored(std::string(255, 'a')), Concat(Hex("FF  FF 00"), Bytes(255, 'a')));
    EXPECT_EQ(Stored(std::string(65533, 'a')), Concat(Hex("FF  FD FF"), Bytes(65533, 'a')));
}

TEST(ArchiveTest, StringsFrom65534BytesHaveASevenBytePrefix) {
    EXPECT_EQ(Stored(std::string(65534, 'a')),
              Concat(Hex("FF  FF FF  FE FF 00 00"), Bytes(65534, 'a')));
    EXPECT_EQ(Stored(std::string(70000, 'a')),
              Concat(Hex("FF  FF FF  70 11 01 00"), Bytes(70000, 'a')));
}

TEST(ArchiveTest, EveryPrefixFormReadsBack) {
    for (std::size_t length : {0, 1, 254, 255, 256, 65533, 65534, 65535, 70000}) {
        SCOPED_TRACE(length);
        std::string text(length, 'x');
        if (length > 0) text.back() = '\xE9';  // bytes are bytes, whatever their value
        EXPECT_EQ(LoadString(Stored(text)), text);
    }
}

TEST(ArchiveTest, SixteenBitStringsAreReadAsUtf8) {
    // FF FE FF announces 16-bit characters, then a count prefix of its own.
    EXPECT_EQ(LoadString(Hex("FF FE FF  02  53 00 E9 00")), "S\xC3\xA9");
    EXPECT_EQ(LoadString(Hex("FF FE FF  01  2D 4E")), "\xE4\xB8\xAD");
    EXPECT_EQ(LoadString(Hex("FF FE FF  02  3D D8 00 DE")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(LoadString(Hex("FF FE FF  00")), "");
    Bytes longUtf16 = Hex("FF FE FF  FF 2C 01");  // 300 characters
    for (int i = 0; i < 300; ++i) longUtf16.insert(longUtf16.end(), {0x41, 0x00});
    EXPECT_EQ(LoadString(longUtf16), std::string(300, 'A'));
}

TEST(ArchiveTest, ReadingContinuesAfterEachString) {
    const Bytes bytes = Hex("03 61 62 63  FF FE FF 01 41 00  07 00 00 00");
    Archive in(bytes, "Score.dat");
    EXPECT_EQ(in.ReadString(), "abc");
    EXPECT_EQ(in.ReadString(), "A");
    EXPECT_EQ(in.ReadUInt32(), 7u);
}

void ExpectFileError(const Bytes& bytes, bool readNumber) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    Archive in(bytes, "Score.dat");
    try {
        if (readNumber)
            in.ReadUInt32();
        else
            in.ReadString();
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), "Score.dat");
    }
}

TEST(ArchiveTest, NumbersTheBytesDoNotCompleteThrow) {
    ExpectFileError(Hex(""), true);
    ExpectFileError(Hex("01 02 03"), true);
}

TEST(ArchiveTest, StringsTheBytesDoNotCompleteThrowWithoutAllocating) {
    ExpectFileError(Hex(""), false);
    ExpectFileError(Hex("05 61 62"), false);                 // five bytes announced, two there
    ExpectFileError(Hex("FF 2C"), false);                    // cut inside the length
    ExpectFileError(Hex("FF FF FF FF FF"), false);           // cut inside the long length
    ExpectFileError(Hex("FF FF FF FF FF FF 7F 61"), false);  // 2 GB announced
    ExpectFileError(Hex("FF FF FF FF FF FF FF 61"), false);  // 4 GB announced
    ExpectFileError(Hex("FF FE FF  03  41 00"), false);  // three 16-bit chars announced, one there
    ExpectFileError(Hex("FF FE FF  02  41"), false);     // cut inside a 16-bit char
    ExpectFileError(Hex("FF FE FF FF FF FF FF FF FF 7F"), false);  // 2 G 16-bit chars announced
}

}  // namespace
