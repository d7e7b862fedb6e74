#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A player's image file on its way into the library: the checks every import makes, in
// order, and the result of turning the file into a stored picture.

enum class ImportRefusal {
    None,
    DuplicateName,  // the file's name or its library name is already in the library
    NameTooLong,    // the library name would be longer than a package entry name may be
    InvalidFile,    // not a whole image that the reader decodes
    NotConverted,   // the scratch files of the conversion failed; detail says how
    Cancelled,      // the player stopped the import while the file was being decoded
    NoDecoder,      // the sealed decoder cannot be run: missing, damaged, or nowhere to be
                    // found; detail is its path, empty when not even that is known. Every
                    // other file would be refused the same way.
};

struct ImportedPicture {
    ImportRefusal refusal = ImportRefusal::None;
    std::string libraryName;         // title + ".jpg"
    std::vector<std::uint8_t> jpeg;  // the whole 400 x 300 JPEG file; empty when refused
    std::string detail;              // for NotConverted: the file and the cause; for
                                     // InvalidFile: why the decoder refused it, when known;
                                     // for NoDecoder: the path of the program missing

    bool Accepted() const { return refusal == ImportRefusal::None; }
};

// Turns the file at a path into the bytes of a 400 x 300 JPEG, or refuses it as InvalidFile or
// NotConverted. Decoding needs the window system's image readers, so the caller provides it.
using PictureConverter = std::function<ImportedPicture(const std::string& path)>;

// The title of the file (its name without directory, up to its last '.', or the whole name
// when it has none) followed by ".jpg": Beach.bmp, Beach.jpg and Beach all give Beach.jpg.
std::string LibraryNameFor(const std::string& path);

// Checks the file against the library's names, then converts it; changes nothing itself.
// The checks, first failure wins:
// 1. the file's name less its last four bytes equals a library name less its last four bytes
//    (byte for byte, case-sensitive; four bytes or fewer count as empty): DuplicateName;
// 2. LibraryNameFor(path) is a library name already: DuplicateName;
// 3. LibraryNameFor(path) is longer than 127 bytes: NameTooLong;
// 4. convert(path) refuses: its refusal. The result always carries the library name.
ImportedPicture PreparePicture(const std::string& path,
                               const std::vector<std::string>& libraryNames,
                               const PictureConverter& convert);
