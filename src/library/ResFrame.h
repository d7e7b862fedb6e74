#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/library/ImportedPicture.h"
#include "skin/SkinImage.h"
#include "skin/SkinnedPanel.h"

class BoardSizeComboBox;
class ItemStandIn;
class PictureListBox;

// The picture library panel: the list of pictures with a large preview of the selected one,
// the board size box, and Add and Del. It is the only writer of the current choice: a click
// in the list or a move there with the keys sets the picture, a pick in the size box sets the size,
// a double click sets both and asks the main window to play (UM_PLAYPICTURE). Add and Del ask the
// picture library (AppState::m_pictureLibrary) to change Pic.dat (and Del Score.dat) and show what
// came of it; the name list and the list rows always end in step with the package and the files on
// disk.
class ResFrame : public SkinnedPanel {
public:
    enum ButtonId { kAddButton = 1, kDelButton = 2 };

    ResFrame(QWidget* parent, const QRect& rect);
    ~ResFrame() override;

    // Imports a file the player chooses as a 400 x 300 picture at the end of the library.
    void AddPicture();
    // Imports files (paths as the file system's bytes) one after another in order, each through
    // Add's checks, the last added chosen. A refused file alone shows Add's message; refusals
    // among several are listed in one message after the last. A run of more than about half a
    // second shows its progress; Cancel stops after the current file, keeping what was added.
    // A Pic.dat that cannot be written is reported and ends the run. While a file decodes, the
    // window's events go on; a call meanwhile (a second drop) is ignored.
    void ImportFiles(const std::vector<std::string>& paths);
    // True while ImportFiles runs: no other import may start.
    bool Importing() const { return m_importing; }
    // Makes the converter of each file of ImportFiles from the run's keepGoing (false once the
    // player has pressed Cancel). CancellableConverter unless a test holds the import to see
    // what happens meanwhile.
    using ConverterMaker = std::function<PictureConverter(std::function<bool()> keepGoing)>;
    void UseConverter(ConverterMaker makeConverter) { m_makeConverter = std::move(makeConverter); }
    // Removes the selected picture and its scores after asking; never the last picture.
    void RemovePicture();

    // The controls and the names they show are made when the panel first shows or one is
    // first asked for.
    BoardSizeComboBox* SizeCombo() { return EnsureControls(), m_sizeCombo; }
    PictureListBox* PictureList() { return EnsureControls(), m_pictureList; }
    const std::vector<std::string>& PictureNames() { return EnsureControls(), m_pictureNames; }
    const SkinImage* Preview() const { return m_preview.get(); }

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void CreateChildren() override;
    void OnSize(const QSize& size) override;
    void Paint(QPainter& painter) override;

private:
    // Makes the size box and the picture list unless they exist, first among the children as
    // if made first. Until the panel first shows, no one sees them: a hidden panel does without
    // their memory, the code they bring in and a row for every picture.
    void EnsureControls();
    void ChooseSize();
    void SelectPicture(int row);
    // The preview shows `name` (a library name, or none at all when empty).
    void ShowPreview(const std::string& name);
    void PlaySelectedPicture();
    // Brings the name list and the rows in step with the library's package, which every
    // change of Pic.dat brings up to date with the file.
    void SyncWithPackage();

    BoardSizeComboBox* m_sizeCombo = nullptr;
    PictureListBox* m_pictureList = nullptr;
    std::vector<std::string> m_pictureNames;
    std::unique_ptr<SkinImage> m_preview;
    bool m_importing = false;
    ConverterMaker m_makeConverter;
    ItemStandIn* m_previewName = nullptr;  // the preview's name for assistive technology
};
