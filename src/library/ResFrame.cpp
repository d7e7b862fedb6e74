#include "library/ResFrame.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>
#include <optional>

#include "core/board/GridSize.h"
#include "core/io/FileError.h"
#include "core/library/DisplayName.h"
#include "core/state/AppState.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureImport.h"
#include "library/PictureListBox.h"
#include "platform/FileDialog.h"
#include "platform/ImportProgress.h"
#include "platform/MessageBox.h"
#include "platform/QtTranslation.h"
#include "skin/EdgeRect.h"
#include "skin/ItemStandIn.h"
#include "skin/PackageImage.h"

namespace {

QStringList ImportFilters() {
    // TRANSLATORS: the file dialog's filter of every file; %1 is its pattern, *.*
    return {QStringLiteral(" (*.bmp)"), QStringLiteral("jpg (*.jpg)"),
            QTr("All Files (%1)").arg(QStringLiteral("*.*"))};
}

}  // namespace

ResFrame::ResFrame(QWidget* parent, const QRect& rect)
    : SkinnedPanel(parent, "ResFrame"), m_makeConverter(CancellableConverter) {
    Place(rect);
}

ResFrame::~ResFrame() = default;

void ResFrame::CreateChildren() {
    AddButton(kAddButton, layout::kAddButton);
    AddButton(kDelButton, layout::kDelButton);
    m_previewName =
        new ItemStandIn(this, QAccessible::Graphic, ToQRect(layout::kPreviewRect), false);
    ShowPreview(App()->m_currentPicture);
}

void ResFrame::OnSize(const QSize& size) {
    if (!size.isEmpty()) EnsureControls();
}

void ResFrame::EnsureControls() {
    if (m_sizeCombo != nullptr) return;

    m_sizeCombo = new BoardSizeComboBox(this);
    m_sizeCombo->setObjectName("SizeCombo");
    for (const GridSize& gridSize : kGridSizes) m_sizeCombo->addItem(QTr(gridSize.label));
    m_sizeCombo->setCurrentIndex(0);
    // The closed box takes its natural height; the open list shows every size.
    m_sizeCombo->PlaceDropDown(ToQRect(layout::kLibrarySizeComboRect));
    m_sizeCombo->setMaxVisibleItems(static_cast<int>(kGridSizes.size()));

    m_pictureList = new PictureListBox(this);
    m_pictureList->setObjectName("PictureList");
    m_pictureList->setGeometry(ToQRect(layout::kLibraryPictureListRect));
    // The highlighted row is the chosen one, previewed and the one Del removes, also for a
    // player at the keyboard or with a screen reader.
    m_pictureList->ChooseWithKeys();

    App()->m_picturePackage.GetNames(m_pictureNames);
    m_pictureList->ShowPictures(m_pictureNames);
    m_pictureList->setCurrentRow(0);

    ShowAsFirstChildren({m_sizeCombo, m_pictureList});
}

void ResFrame::ShowPreview(const std::string& name) {
    m_preview.reset();
    m_preview = GetImage(App()->m_picturePackage, name);
    m_previewName->SetName(WidenText(DisplayName(name)));
}

qintptr ResFrame::OnMessage(unsigned message, quintptr first, qintptr) {
    EnsureControls();  // every message acts on the controls' state
    switch (message) {
        case UM_COMBOSELCHANGE:
            ChooseSize();
            return 0;
        case UM_LISTSELCHANGE:
            SelectPicture(static_cast<int>(first));
            return 0;
        case UM_LISTDBLCLK:
            PlaySelectedPicture();
            return 0;
        case UM_BUTTONCLICK:
            if (first == kAddButton) AddPicture();
            if (first == kDelButton) RemovePicture();
            return 0;
        default:
            return 0;
    }
}

void ResFrame::ChooseSize() {
    const int index = m_sizeCombo->currentIndex();
    if (index < 0 || index >= static_cast<int>(kGridSizes.size())) return;
    App()->m_boardRows = kGridSizes[static_cast<std::size_t>(index)].rows;
    App()->m_boardCols = kGridSizes[static_cast<std::size_t>(index)].cols;
}

void ResFrame::SelectPicture(int row) {
    if (row < 0 || row >= static_cast<int>(m_pictureNames.size())) return;
    const std::string& name = m_pictureNames[static_cast<std::size_t>(row)];
    ShowPreview(name);
    App()->m_currentPicture = name;
    update();
}

void ResFrame::PlaySelectedPicture() {
    const int row = m_pictureList->SelectedRow();
    if (row < 0 || row >= static_cast<int>(m_pictureNames.size())) return;
    App()->m_currentPicture = m_pictureNames[static_cast<std::size_t>(row)];
    ChooseSize();
    PostMessage(parentWidget(), UM_PLAYPICTURE);
}

void ResFrame::SyncWithPackage() {
    std::vector<std::string> names;
    App()->m_picturePackage.GetNames(names);
    if (names == m_pictureNames) return;
    const int row = m_pictureList->SelectedRow();
    const std::string selected =
        row >= 0 && row < static_cast<int>(m_pictureNames.size()) ? m_pictureNames[row] : "";
    m_pictureNames = std::move(names);
    m_pictureList->ShowPictures(m_pictureNames);
    const auto kept = std::find(m_pictureNames.begin(), m_pictureNames.end(), selected);
    if (kept != m_pictureNames.end()) {
        m_pictureList->setCurrentRow(static_cast<int>(kept - m_pictureNames.begin()));
    } else if (!m_pictureNames.empty()) {
        // The selected picture went with another writer's change: the first one takes its place.
        m_pictureList->setCurrentRow(0);
        SendMessage(this, UM_LISTSELCHANGE, 0);
    }
}

void ResFrame::AddPicture() {
    EnsureControls();
    const std::optional<std::string> chosen = ChooseFileToOpen(this, ImportFilters());
    if (!chosen) return;
    ImportFiles({*chosen});
}

void ResFrame::ImportFiles(const std::vector<std::string>& paths) {
    if (m_importing) return;
    EnsureControls();
    const QScopedValueRollback<bool> importing(m_importing, true);
    QStringList refusals;
    QString lastRefusal;
    QString noDecoder;
    std::optional<FileError> fileError;
    int added = 0;
    {
        // Gone before any message, so it cannot come up behind one.
        ImportProgress progress(this, static_cast<int>(paths.size()));
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const QString shown = QFile::decodeName(paths[i].c_str());
            if (!progress.Begin(static_cast<int>(i) + 1, shown)) break;
            const AddResult result = App()->m_pictureLibrary.Add(
                paths[i], m_makeConverter([&progress] { return progress.KeepGoing(); }));
            // The library read Pic.dat again under its lock: other writers' changes show too.
            SyncWithPackage();
            if (result.picture.refusal == ImportRefusal::Cancelled) break;
            if (result.picture.refusal == ImportRefusal::NoDecoder) {
                noDecoder = RefusalMessage(result.picture);
                break;  // said once: every file after it would be refused the same way
            }
            if (result.outcome == AddResult::Outcome::FileFailed) {
                fileError = result.error;
                break;  // the next file would fail the same way
            }
            if (result.outcome == AddResult::Outcome::Refused) {
                lastRefusal = RefusalMessage(result.picture);
                // TRANSLATORS: one line of the list of files not added: file name, reason
                refusals << QTr("%1: %2").arg(
                    QFileInfo(shown).fileName(),
                    QString(lastRefusal).replace(QLatin1Char('\n'), QLatin1Char(' ')));
                continue;
            }
            ++added;
        }
    }
    if (fileError) ReportFileError(window(), *fileError);
    if (added > 0) {
        const int last = m_pictureList->count() - 1;
        m_pictureList->setCurrentRow(last);
        SendMessage(this, UM_LISTSELCHANGE, static_cast<quintptr>(last));
    }
    QStringList message;
    if (!noDecoder.isEmpty()) message << noDecoder;
    if (!refusals.isEmpty()) {
        message << (paths.size() == 1
                        ? lastRefusal
                        : QTr("These files were not added to the library:") +
                              QStringLiteral("\n\n") + refusals.join(QLatin1Char('\n')));
    }
    if (!message.isEmpty()) ShowMessageBox(this, message.join(QStringLiteral("\n\n")));
}

void ResFrame::RemovePicture() {
    EnsureControls();
    PictureLibrary& library = App()->m_pictureLibrary;
    if (library.HoldsOnePicture()) {
        ShowMessageBox(this, QTr("Only one picture in the library,\nwhich can not be deleted."));
        return;
    }
    if (ShowMessageBox(this, QTr("Are you sure to delete the current picture?"),
                       MessageButtons::YesNo, MessageIcon::Exclamation,
                       MessageAnswer::Yes) != MessageAnswer::Yes)
        return;
    const int row = m_pictureList->SelectedRow();
    if (row < 0 || row >= static_cast<int>(m_pictureNames.size())) return;

    const RemoveResult result =
        library.Remove(m_pictureNames[static_cast<std::size_t>(row)], App()->DataFile("Score.dat"));
    SyncWithPackage();
    if (result.PictureRemoved()) {
        if (m_pictureList->count() > 0) {
            m_pictureList->setCurrentRow(0);
            SendMessage(this, UM_LISTSELCHANGE, 0);
        }
    }
    if (result.error) ReportFileError(window(), *result.error);
}

void ResFrame::Paint(QPainter& painter) {
    const QRect preview = ToQRect(layout::kPreviewRect);
    if (m_preview != nullptr)
        m_preview->DrawInto(painter, preview.x(), preview.y(), preview.width(), preview.height());
    DrawButtons(painter);
}
