#include "platform/FileDialog.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <memory>

#include "platform/ModalDialog.h"
#include "platform/QtTranslation.h"

namespace {

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

struct FolderClose {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// Whether the entry name (bytes) is the one the player chose: the same text as Qt reads it,
// with U+FFFD for each byte that is not UTF-8, or, for a name that is not UTF-8, the same text
// read as Latin-1, as an older system wrote it and as the player types it.
bool Names(const char* entry, const QString& chosen) {
    const QString shown = QFile::decodeName(entry);
    if (shown == chosen) return true;
    return QFile::encodeName(shown) != entry && QString::fromLatin1(entry) == chosen;
}

// The bytes of the one entry of folder that names chosen; nothing when none or several do
// (names differing only in bytes that are not UTF-8 all read alike in Qt).
std::optional<std::string> OnlyEntryNaming(const std::string& folder, const QString& chosen) {
    const std::unique_ptr<DIR, FolderClose> listing(::opendir(folder.c_str()));
    if (listing == nullptr) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (!Names(entry->d_name, chosen)) continue;
        if (found) return std::nullopt;
        found = entry->d_name;
    }
    return found;
}

// The path on disk that path names. Only the file's own name is matched: Qt's dialog lists no
// folder whose name is not UTF-8 either, so a folder it could enter encodes back as it was.
std::string DiskPath(const QString& path) {
    const std::string plain = QFile::encodeName(path).toStdString();
    if (Exists(plain)) return plain;
    const QFileInfo file(path);
    const std::string folder = QFile::encodeName(file.path()).toStdString();
    const std::optional<std::string> entry = OnlyEntryNaming(folder, file.fileName());
    return entry ? folder + '/' + *entry : plain;
}

}  // namespace

std::optional<std::string> ChooseFileToOpen(QWidget* owner, const QStringList& filters) {
    // TRANSLATORS: the title of the dialog that chooses a picture to add
    QFileDialog dialog(owner, QTr("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the caller answers for a file it cannot read.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return DiskPath(chosen.first());
}
