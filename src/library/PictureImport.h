#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

// Turning a player's image file into a library picture, without any window: the checks, in
// order, then the conversion to a 400 x 300 JPEG. Both the library panel's Add button and the
// command line import go through PreparePicture, so they accept and refuse the same files.

enum class ImportRefusal {
    None,
    DuplicateName,  // the file's name or its library name is already in the library
    NameTooLong,    // the library name would be longer than a package entry name may be
    InvalidFile,    // not a whole image that the reader decodes
    NotConverted,   // the scratch files of the conversion failed; detail says how
};

struct ImportedPicture {
    ImportRefusal refusal = ImportRefusal::None;
    std::string libraryName;         // title + ".jpg"
    std::vector<std::uint8_t> jpeg;  // the whole 400 x 300 JPEG file; empty when refused
    std::string detail;              // for NotConverted: the file and the cause

    bool Accepted() const { return refusal == ImportRefusal::None; }
};

// The title of the file (its name without directory, up to its last '.', or the whole name
// when it has none) followed by ".jpg": Beach.bmp, Beach.jpg and Beach all give Beach.jpg.
std::string LibraryNameFor(const std::string& path);

// Checks the file against the library's names and converts it, changing nothing but a private
// scratch directory that is gone again when it returns. The checks, first failure wins:
// 1. the file's name less its last four bytes equals a library name less its last four bytes
//    (byte for byte, case-sensitive; four bytes or fewer count as empty): DuplicateName;
// 2. LibraryNameFor(path) is a library name already: DuplicateName;
// 3. LibraryNameFor(path) is longer than 127 bytes: NameTooLong;
// 4. the file is no whole image (DecodeStretched): InvalidFile.
// Then the image stretched to 400 x 300 is written as a 24-bit bitmap file, that file is
// decoded again and saved as a JPEG of the default quality, and the JPEG file is read back
// whole and must decode to 400 x 300; any failure there: NotConverted.
ImportedPicture PreparePicture(const std::string& path,
                               const std::vector<std::string>& libraryNames);

// What the player is told about a refusal (lines separated by '\n'); empty when accepted.
QString RefusalMessage(const ImportedPicture& picture);
