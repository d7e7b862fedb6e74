#include "library/ResFrame.h"

#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include "core/board/GridSize.h"
#include "core/io/FileError.h"
#include "core/library/DisplayName.h"
#include "core/scores/ScoreFile.h"
#include "core/state/AppState.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureImport.h"
#include "library/PictureListBox.h"
#include "platform/FileDialog.h"
#include "platform/ImportProgress.h"
#include "platform/MessageBox.h"
#include "skin/EdgeRect.h"
#include "skin/Layout.h"
#include "skin/PackageImage.h"

namespace {

const QRect kPreviewRect(0, 0, kPictureWidth, kPictureHeight);
const QRect kSizeComboRect = RectFromEdges(420, 20, 600, 150);  // the height takes the open list
const QRect kPictureListRect = RectFromEdges(420, 60, 600, 230);
const QRect kAddButtonRect = RectFromEdges(420, 250, 500, 282);
const QRect kDelButtonRect = RectFromEdges(520, 250, 600, 282);

const QStringList kImportFilters{QStringLiteral(" (*.bmp)"), QStringLiteral("jpg (*.jpg)"),
                                 QStringLiteral("All Files (*.*)")};

const QString kOnlyOnePicture =
    QStringLiteral("Only one picture in the library,\nwhich can not be deleted.");
const QString kSomeNotAdded = QStringLiteral("These files were not added to the library:");
const QString kConfirmRemoval = QStringLiteral("Are you sure to delete the current picture?");

}  // namespace

ResFrame::ResFrame(QWidget* parent, const QRect& rect) : MessageReceiver<QWidget>(parent) {
    setObjectName("ResFrame");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setGeometry(rect);
    OnSize(rect.size());
}

ResFrame::~ResFrame() = default;

void ResFrame::resizeEvent(QResizeEvent*) { OnSize(size()); }

void ResFrame::OnSize(const QSize& size) {
    if (size == m_panelSize) return;
    m_panelSize = size;
    if (m_sizeCombo == nullptr) CreateChildren();
    m_panelRect = QRect(QPoint(0, 0), size);
}

void ResFrame::CreateChildren() {
    AppState* app = App();

    m_sizeCombo = new BoardSizeComboBox(this);
    m_sizeCombo->setObjectName("SizeCombo");
    for (const GridSize& gridSize : kGridSizes)
        m_sizeCombo->addItem(QString::fromUtf8(gridSize.label));
    m_sizeCombo->setCurrentIndex(0);
    // The closed box takes its natural height; the open list shows every size.
    m_sizeCombo->setGeometry(kSizeComboRect.x(), kSizeComboRect.y(), kSizeComboRect.width(),
                             m_sizeCombo->sizeHint().height());
    m_sizeCombo->setMaxVisibleItems(static_cast<int>(kGridSizes.size()));

    m_pictureList = new PictureListBox(this);
    m_pictureList->setObjectName("PictureList");
    m_pictureList->setGeometry(kPictureListRect);

    const ImagePackage& skin = app->m_skinPackage;
    m_addButton.SetUp(this, false, kAddButton, kAddButtonRect, GetImage(skin, "AddNormal.jpg"),
                      GetImage(skin, "AddMouseOn.jpg"), GetImage(skin, "AddMouseDown.jpg"));
    m_delButton.SetUp(this, false, kDelButton, kDelButtonRect, GetImage(skin, "DelNormal.jpg"),
                      GetImage(skin, "DelMouseOn.jpg"), GetImage(skin, "DelMouseDown.jpg"));

    app->m_picturePackage.GetNames(m_pictureNames);
    for (const std::string& name : m_pictureNames)
        m_pictureList->addItem(WidenText(DisplayName(name)));
    m_pictureList->setCurrentRow(0);

    m_preview.reset();
    m_preview = GetImage(app->m_picturePackage, app->m_currentPicture);
}

qintptr ResFrame::OnMessage(unsigned message, quintptr first, qintptr) {
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
    m_preview.reset();
    m_preview = GetImage(App()->m_picturePackage, name);
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

void ResFrame::AppendRow(const std::string& name) {
    m_pictureNames.push_back(name);
    m_pictureList->addItem(WidenText(DisplayName(name)));
}

void ResFrame::RemoveRow(int row) {
    m_pictureNames.erase(m_pictureNames.begin() + row);
    delete m_pictureList->takeItem(row);
}

void ResFrame::AddPicture() {
    const std::optional<QString> chosen = ChooseFileToOpen(this, kImportFilters);
    if (!chosen) return;
    ImportFiles({QFile::encodeName(*chosen).toStdString()});
}

void ResFrame::ImportFiles(const std::vector<std::string>& paths) {
    QStringList refusals;
    QString lastRefusal;
    int added = 0;
    {
        // Gone before any message, so it cannot come up behind one.
        ImportProgress progress(this, static_cast<int>(paths.size()));
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const QString shown = QFile::decodeName(paths[i].c_str());
            if (!progress.Begin(static_cast<int>(i) + 1, shown)) break;
            const AddResult result = App()->m_pictureLibrary.Add(paths[i], ConvertPicture);
            if (result.outcome == AddResult::Outcome::FileFailed) {
                ReportFileError(window(), *result.error);
                break;  // the next file would fail the same way
            }
            if (result.outcome == AddResult::Outcome::Refused) {
                lastRefusal = RefusalMessage(result.picture);
                refusals << QFileInfo(shown).fileName() + QStringLiteral(": ") +
                                QString(lastRefusal).replace(QLatin1Char('\n'), QLatin1Char(' '));
                continue;
            }
            AppendRow(result.picture.libraryName);
            ++added;
        }
    }
    if (added > 0) {
        const int last = m_pictureList->count() - 1;
        m_pictureList->setCurrentRow(last);
        SendMessage(this, UM_LISTSELCHANGE, static_cast<quintptr>(last));
    }
    if (refusals.isEmpty()) return;
    ShowMessageBox(this, paths.size() == 1 ? lastRefusal
                                           : kSomeNotAdded + QStringLiteral("\n\n") +
                                                 refusals.join(QLatin1Char('\n')));
}

void ResFrame::RemovePicture() {
    PictureLibrary& library = App()->m_pictureLibrary;
    if (library.HoldsOnePicture()) {
        ShowMessageBox(this, kOnlyOnePicture);
        return;
    }
    if (ShowMessageBox(this, kConfirmRemoval, MessageButtons::YesNo, MessageIcon::Exclamation,
                       MessageAnswer::Yes) != MessageAnswer::Yes)
        return;
    const int row = m_pictureList->SelectedRow();
    if (row < 0 || row >= static_cast<int>(m_pictureNames.size())) return;

    const RemoveResult result =
        library.Remove(m_pictureNames[static_cast<std::size_t>(row)], App()->DataFile("Score.dat"));
    if (result.PictureRemoved()) {
        // Pic.dat no longer holds the picture, so neither do the list and the names, whatever
        // became of its scores.
        RemoveRow(row);
        if (m_pictureList->count() > 0) {
            m_pictureList->setCurrentRow(0);
            SendMessage(this, UM_LISTSELCHANGE, 0);
        }
    }
    if (result.error) ReportFileError(window(), *result.error);
}

void ResFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(m_panelRect, kPanelFill);
    if (m_preview != nullptr)
        m_preview->DrawInto(painter, kPreviewRect.x(), kPreviewRect.y(), kPreviewRect.width(),
                            kPreviewRect.height());
    m_addButton.Draw(painter);
    m_delButton.Draw(painter);
}

void ResFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    m_addButton.OnMouseMove(point);
    m_delButton.OnMouseMove(point);
}

void ResFrame::mousePressEvent(QMouseEvent* event) {
    // Accepted, never passed on: a press on a panel must not move the main window.
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    m_addButton.OnLButtonDown(point);
    m_delButton.OnLButtonDown(point);
}

void ResFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    m_addButton.OnLButtonUp(point);
    m_delButton.OnLButtonUp(point);
}
