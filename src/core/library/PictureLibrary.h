#pragma once

#include <optional>
#include <string>

#include "core/io/FileError.h"
#include "core/io/ProgramDirectory.h"
#include "core/library/ImportedPicture.h"
#include "core/package/ImagePackage.h"

// What an add came to. The package and its file changed only when outcome is Added.
struct AddResult {
    enum class Outcome { Added, Refused, FileFailed };

    Outcome outcome = Outcome::Refused;
    ImportedPicture picture;         // always the library name; for Refused, the refusal
    std::optional<FileError> error;  // for FileFailed: the package file, read before or written
};

// What a removal came to. The package and its file changed only when PictureRemoved().
struct RemoveResult {
    enum class Outcome {
        Removed,        // the picture and its scores are gone
        ScoresKept,     // the picture is gone; the score file could not be rewritten (error)
        LastPicture,    // the library keeps at least one picture
        NoSuchPicture,  // no entry has that name
        FileFailed,     // a file could not be read or written (error); nothing changed
    };

    Outcome outcome = Outcome::NoSuchPicture;
    std::optional<FileError> error;

    bool PictureRemoved() const {
        return outcome == Outcome::Removed || outcome == Outcome::ScoresKept;
    }
};

// The player's picture library: the package loaded from its file (Pic.dat), and that file.
// Add and Remove are whole steps: the package and the file take a change together, and after a
// failure both are as they were before it (a removal's scores aside, see Remove). Results come
// back as values; the caller tells the player.
//
// Nothing the player had is lost, and a damaged file does not lock the player out:
// - a package file that exists but could not be opened (no permission, a link that leads
//   nowhere) may hold a whole library that only could not be read this time: every Add and
//   Remove fails with WriteBlock() and changes nothing until the file can be read again;
// - a package file that loaded damaged is changed: the first change keeps the original whole
//   as PATH.damaged (or .damaged.1, .2, ... beside earlier copies), then writes the entries
//   read whole with the change.
// A missing file is an empty library, which the first Add creates.
//
// Other writers (the shell tool, another user's game) may change the file meanwhile: every
// change is a locked read-modify-write (UpdatePackageFile), so the package is brought up to
// date with the file before the one change is made, and nothing another writer did is lost.
class PictureLibrary {
public:
    // Clears, then loads the package at path. Every change then writes savePath (path when
    // empty), making its folder when missing. False when the file is missing, cannot be opened
    // or is damaged; the entries read whole stay to be shown.
    bool Load(const std::string& path, const std::string& savePath = {});
    // Loads the player's library where the game keeps it: the Pic.dat of the player's folder
    // when it is there, else the installed one, which the first change copies to the player's
    // folder. The game and the shell tool both start here.
    bool LoadFromFolders(const DataFolders& folders);

    // Borrowed by the panels to list and show pictures; it changes only through Add and Remove.
    const ImagePackage& Package() const { return m_package; }
    const std::string& Path() const { return m_path; }
    // Why the file must not be written (the FileError that Add and Remove report), or null.
    const FileError* WriteBlock() const { return m_writeBlock ? &*m_writeBlock : nullptr; }
    // Exactly one picture: the one Remove keeps.
    bool HoldsOnePicture() const { return m_package.Count() == 1; }

    // The import's checks and conversion (PreparePicture against the library's names), then the
    // new entry at the end of the file as it is now. A name another writer took meanwhile is
    // refused as DuplicateName. A file that cannot be read fails before the package changes.
    AddResult Add(const std::string& file, const PictureConverter& convert);

    // Removes the first entry of that name and every row of the score file at scorePath that
    // names it. The score file is read first: a damaged or unreadable one fails before anything
    // changes; a missing one has no rows and is not created. The checks for NoSuchPicture and
    // LastPicture are made again on the file as it is now. A file that cannot be read fails
    // before the package changes; after a failed save the package is the file as it is. A failed
    // score save after it leaves the picture removed and its rows in the file (ScoresKept): the
    // package file is already rewritten without it.
    RemoveResult Remove(const std::string& name, const std::string& scorePath);

private:
    // Tries to read a file that blocked writing once more; true when it may be written.
    bool Writable();
    // Makes the save path the file every change reads and writes: its folder is made, and a
    // library read from elsewhere (the installed one) is first copied there whole.
    // Throws FileError.
    void MoveToSavePath();

    ImagePackage m_package;
    std::string m_path;
    std::string m_savePath;
    std::optional<FileError> m_writeBlock;
};
