#include "scores/ScoreWnd.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "core/board/GridSize.h"
#include "core/io/FileError.h"
#include "core/scores/ScoreFile.h"
#include "core/state/AppState.h"
#include "core/text/Translation.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureListBox.h"
#include "platform/MessageBox.h"
#include "platform/QtTranslation.h"
#include "skin/EdgeRect.h"
#include "skin/FirstShown.h"

namespace {

enum SortChoice { kSortByStep = 0, kSortByTime = 1 };

struct Column {
    const char* heading;
    int width;
};
constexpr Column kColumns[] = {
    {TrMark("Rank"), 40},       {TrMark("Username"), 65},    {TrMark("No. of Steps"), 90},
    {TrMark("Time(Sec.)"), 80}, {TrMark("Created on"), 100},
};

}  // namespace

ScoreWnd::ScoreWnd(QWidget* parent, const QRect& rect) : SkinnedPanel(parent, "ScoreWnd") {
    Place(rect);
}

ScoreWnd::~ScoreWnd() = default;

void ScoreWnd::OnSize(const QSize& size) {
    if (size.isEmpty()) return;  // being hidden: everything stays as it was shown
    EnsureControls();
    try {
        ReloadScores();
        RankShown();
        FillScoreList();
    } catch (const FileError& error) {
        ReportFileError(window(), error);
    }
}

// Every child is a control, made when first needed.
void ScoreWnd::CreateChildren() {}

void ScoreWnd::EnsureControls() {
    if (m_sortCombo != nullptr) return;
    m_sortCombo = new BoardSizeComboBox(this);
    m_sortCombo->PlaceDropDown(ToQRect(layout::kSortComboRect));
    // TRANSLATORS: ranks the scores by their moves
    m_sortCombo->addItem(QString::fromUtf8(TrC("ranking", "Step")));
    // TRANSLATORS: ranks the scores by their seconds
    m_sortCombo->addItem(QString::fromUtf8(TrC("ranking", "Time")));
    m_sortCombo->setCurrentIndex(kSortByStep);

    m_sizeCombo = new BoardSizeComboBox(this);
    m_sizeCombo->PlaceDropDown(ToQRect(layout::kScoreSizeComboRect));
    for (const GridSize& size : kGridSizes) m_sizeCombo->addItem(QTr(size.label));
    m_sizeCombo->setCurrentIndex(0);

    m_pictureList = new PictureListBox(this);
    m_pictureList->setGeometry(ToQRect(layout::kScorePictureListRect));

    CreateScoreList();
    ShowAsFirstChildren({m_sortCombo, m_sizeCombo, m_pictureList, m_scoreList});
}

void ScoreWnd::CreateScoreList() {
    // A report list: one line per game, whole-row single selection, no sorting of its own.
    m_scoreList = new QTreeWidget(this);
    m_scoreList->setGeometry(ToQRect(layout::kScoreListRect));
    // The header's height and Qt's own minimum column width (the widest letter) are measured
    // with the font: a hidden panel does without both, so the fonts load when text first shows.
    // Both come back when the panel shows, before anything is painted or a column dragged.
    m_scoreList->setHeaderHidden(true);
    m_scoreList->header()->setMinimumSectionSize(0);
    OnFirstShown(this, m_scoreList, [this] {
        m_scoreList->header()->setMinimumSectionSize(-1);
        m_scoreList->setHeaderHidden(false);
    });
    m_scoreList->setRootIsDecorated(false);
    m_scoreList->setItemsExpandable(false);
    m_scoreList->setUniformRowHeights(true);
    m_scoreList->setSortingEnabled(false);
    m_scoreList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_scoreList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_scoreList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_scoreList->setColumnCount(static_cast<int>(std::size(kColumns)));
    QStringList headings;
    for (const Column& column : kColumns) headings << QTr(column.heading);
    m_scoreList->setHeaderLabels(headings);
    QHeaderView* header = m_scoreList->header();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        header->resizeSection(i, kColumns[i].width);
    // Measured with the font, as the header above.
    OnFirstShown(this, m_scoreList, [this] { FitTranslatedHeadings(); });
}

void ScoreWnd::FitTranslatedHeadings() {
    // English keeps its fixed widths; a translated heading widens its column rather than be
    // cut short (the list scrolls sideways if the row no longer fits).
    QHeaderView* header = m_scoreList->header();
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        if (QTr(kColumns[i].heading) != QLatin1String(kColumns[i].heading))
            header->resizeSection(i, std::max(kColumns[i].width, header->sectionSizeHint(i)));
    }
}

void ScoreWnd::ReloadScores() {
    m_allScores.Clear();
    // A missing file is a table without games, not an error.
    LoadScoreFile(App()->DataFile("Score.dat"), m_allScores);

    App()->m_picturePackage.GetNames(m_pictureNames);
    m_pictureList->ShowPictures(m_pictureNames);
    // After every reload the library's first picture is the one shown.
    if (!m_pictureNames.empty()) m_pictureList->setCurrentRow(0);
}

void ScoreWnd::RankShown() {
    const int row = m_pictureList->SelectedRow();
    const int gridIndex = m_sizeCombo->currentIndex();
    if (row < 0 || row >= static_cast<int>(m_pictureNames.size()) || gridIndex < 0) {
        m_shownScores = ScoreTable();
        return;
    }
    const SortBy by = m_sortCombo->currentIndex() == kSortByStep ? SortBy::Step : SortBy::Time;
    m_shownScores = m_allScores.RankRows(m_pictureNames[static_cast<std::size_t>(row)],
                                         static_cast<std::uint32_t>(gridIndex), by);
}

void ScoreWnd::FillScoreList() {
    m_scoreList->clear();
    for (std::size_t i = 0; i < m_shownScores.GetCount(); ++i) {
        const ScoreRecord record = m_shownScores.GetAt(i);
        auto* item = new QTreeWidgetItem(m_scoreList);
        item->setText(0, QString::number(i + 1));
        item->setText(1, QString::fromStdString(record.userName));
        item->setText(2, QString::number(record.steps));
        item->setText(3, QString::number(record.seconds));
        item->setText(4, QString::fromStdString(record.createdOn));
    }
}

qintptr ScoreWnd::OnMessage(unsigned message, quintptr, qintptr) {
    EnsureControls();  // every message acts on the controls' state
    switch (message) {
        case UM_LISTSELCHANGE:
        case UM_LISTDBLCLK:
        case UM_COMBOSELCHANGE:
            // The controls are re-read: the parameters may be stale by now.
            RankShown();
            FillScoreList();
            return 0;
        default:
            return 0;
    }
}
