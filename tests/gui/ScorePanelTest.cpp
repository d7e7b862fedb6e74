#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "PanelData.h"
#include "TestImages.h"
#include "app/Corvalin.h"
#include "app/CorvalinApp.h"
#include "core/scores/ScoreFile.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureListBox.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"

namespace {

constexpr QRgb kFill = 0xff366ab3;  // RGB(54, 106, 179)
const QRect kContent(0, 0, 620, 300);
const QRect kHidden(0, 0, 0, 0);

// The library, in package order: the score panel lists these by display name.
std::vector<test::NamedPicture> Library() {
    return {
        {"Sea.jpg", test::SolidBmp(8, 6, 0xff2040a0)},
        {"Hill.jpg", test::SolidBmp(8, 6, 0xff20a040)},
        {"Lake.jpg", test::SolidBmp(8, 6, 0xff40a0a0)},
    };
}

// Stored oldest first. Sea.jpg on 3 x 4 has ties that only the later keys break: steps, then
// seconds, then date, then the order of storing.
std::vector<ScoreRecord> StoredGames() {
    return {
        {0, "Sea.jpg", "dora", 30, 50, "2006.01.01"}, {0, "Sea.jpg", "anna", 20, 90, "2006.01.01"},
        {0, "Sea.jpg", "bert", 20, 80, "2006.01.02"}, {0, "Sea.jpg", "carl", 20, 80, "2005.12.31"},
        {0, "Sea.jpg", "emil", 20, 80, "2005.12.31"}, {0, "Sea.jpg", "fay", 7, 100, "2006.02.02"},
        {1, "Sea.jpg", "zed", 1, 1, "2006.01.01"},  // another size
        {0, "sea.jpg", "yan", 1, 1, "2006.01.01"},  // another picture by letter case
        {0, "Hill.jpg", "gus", 12, 34, "2006.03.03"}, {2, "Hill.jpg", "hal", 40, 10, "2006.04.04"},
        {2, "Sea.jpg", "ivy", 10, 40, "2006.05.05"},  {2, "Sea.jpg", "jon", 40, 10, "2006.05.06"},
    };
}

using Rows = QList<QStringList>;

// Answers every message box that opens with OK and remembers what it showed.
class BoxWatcher {
public:
    BoxWatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }

    int boxes = 0;
    QString lastText;
    QMessageBox::Icon lastIcon = QMessageBox::NoIcon;
    QString lastCaption;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        ++boxes;
        lastText = box->text();
        lastIcon = box->icon();
        lastCaption = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
};

}  // namespace

class ScorePanelTest : public QObject {
    Q_OBJECT

public:
    explicit ScorePanelTest(const test::DataDir& data) : m_data(data) {}

private slots:
    void init() {
        m_data.WritePackage("Pic.dat", Library());
        m_data.WriteScores(StoredGames());
        App()->LoadData(m_data.Path());
        m_boxes = std::make_unique<BoxWatcher>();
        // Made hidden, as the main window makes it; each test shows it when its data is ready.
        m_host = std::make_unique<test::PanelHost>();
        m_panel = new ScoreWnd(m_host.get(), kHidden);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    }

    void cleanup() {
        m_host.reset();
        m_boxes.reset();
    }

    void ControlsAreLaidOutWithTheirChoices() {
        QCOMPARE(m_panel->SortCombo()->pos(), QPoint(20, 20));
        QCOMPARE(m_panel->SortCombo()->width(), 180);
        QCOMPARE(m_panel->SizeCombo()->pos(), QPoint(20, 60));
        QCOMPARE(m_panel->SizeCombo()->width(), 180);
        QCOMPARE(m_panel->PictureList()->geometry(), QRect(20, 100, 180, 180));
        QCOMPARE(m_panel->ScoreList()->geometry(), QRect(220, 20, 380, 260));
        QCOMPARE(ItemsOf(m_panel->SortCombo()), (QStringList{"Step", "Time"}));
        QCOMPARE(
            ItemsOf(m_panel->SizeCombo()),
            (QStringList{"3(rows)\u00d74(cols)", "4(rows)\u00d75(cols)", "4(rows)\u00d76(cols)",
                         "5(rows)\u00d76(cols)", "5(rows)\u00d77(cols)", "6(rows)\u00d78(cols)"}));
        QCOMPARE(m_panel->SortCombo()->currentIndex(), 0);
        QCOMPARE(m_panel->SizeCombo()->currentIndex(), 0);
    }

    void ScoreListIsAnUnsortedSingleRowSelectionReport() {
        QTreeWidget* list = m_panel->ScoreList();
        const QStringList headings{"Rank", "Username", "No. of Steps", "Time(Sec.)", "Created on"};
        const QList<int> widths{40, 65, 90, 80, 100};
        QCOMPARE(list->columnCount(), 5);
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(list->headerItem()->text(column), headings[column]);
            QCOMPARE(list->columnWidth(column), widths[column]);
        }
        QVERIFY(!list->isSortingEnabled());
        QVERIFY(!list->rootIsDecorated());
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    }

    void ShownPanelListsFirstPictureRankedBySteps() {
        Show();
        QCOMPARE(PictureRows(), (QStringList{"Sea", "Hill", "Lake"}));
        QCOMPARE(m_panel->PictureList()->SelectedRow(), 0);
        QCOMPARE(ShownRows(), (Rows{
                                  {"1", "fay", "7", "100", "2006.02.02"},
                                  {"2", "carl", "20", "80", "2005.12.31"},
                                  {"3", "emil", "20", "80", "2005.12.31"},
                                  {"4", "bert", "20", "80", "2006.01.02"},
                                  {"5", "anna", "20", "90", "2006.01.01"},
                                  {"6", "dora", "30", "50", "2006.01.01"},
                              }));
        QCOMPARE(m_boxes->boxes, 0);
    }

    void TimeOrderReRanksAtOnce() {
        Show();
        QTest::keyClick(m_panel->SortCombo(), Qt::Key_Down);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ShownRows(), (Rows{
                                  {"1", "dora", "30", "50", "2006.01.01"},
                                  {"2", "carl", "20", "80", "2005.12.31"},
                                  {"3", "emil", "20", "80", "2005.12.31"},
                                  {"4", "bert", "20", "80", "2006.01.02"},
                                  {"5", "anna", "20", "90", "2006.01.01"},
                                  {"6", "fay", "7", "100", "2006.02.02"},
                              }));
    }

    void ClickedPictureAndChosenSizeSelectTheirGames() {
        Show();
        ClickPictureRow(1);
        QCOMPARE(ShownRows(), (Rows{{"1", "gus", "12", "34", "2006.03.03"}}));
        PickSize(2);
        QCOMPARE(ShownRows(), (Rows{{"1", "hal", "40", "10", "2006.04.04"}}));
    }

    void PictureWithoutGamesOfThatSizeShowsAnEmptyList() {
        Show();
        ClickPictureRow(2);
        QCOMPARE(ShownRows(), Rows{});
        QCOMPARE(m_panel->ScoreList()->headerItem()->text(1), QStringLiteral("Username"));
    }

    void DoubleClickReRanksAsAClickDoes() {
        Show();
        // Selected without a notification, so only the double click can re-rank.
        m_panel->PictureList()->setCurrentRow(1);
        const QRect row = m_panel->PictureList()->visualItemRect(m_panel->PictureList()->item(1));
        QTest::mouseDClick(m_panel->PictureList()->viewport(), Qt::LeftButton, {}, row.center());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ShownRows(), (Rows{{"1", "gus", "12", "34", "2006.03.03"}}));
    }

    void GameStoredWhileHiddenShowsWhenShownAgain() {
        Show();
        Hide();
        StoreFinishedGame(m_data.FilePath("Score.dat"),
                          {0, "Sea.jpg", "kim", 5, 200, "2006.06.06"});
        QCOMPARE(ShownRows().size(), 6);  // hidden, it keeps what it showed
        Show();
        QCOMPARE(ShownRows().first(), (QStringList{"1", "kim", "5", "200", "2006.06.06"}));
        QCOMPARE(ShownRows().size(), 7);
    }

    void HidingAndShowingResetsThePictureButKeepsSizeAndOrder() {
        Show();
        ClickPictureRow(2);
        PickSize(2);
        QTest::keyClick(m_panel->SortCombo(), Qt::Key_Down);
        QCoreApplication::sendPostedEvents();
        Hide();
        Show();
        QCOMPARE(m_panel->PictureList()->SelectedRow(), 0);
        QCOMPARE(m_panel->SizeCombo()->currentIndex(), 2);
        QCOMPARE(m_panel->SortCombo()->currentIndex(), 1);
        QCOMPARE(ShownRows(), (Rows{
                                  {"1", "jon", "40", "10", "2006.05.06"},
                                  {"2", "ivy", "10", "40", "2006.05.05"},
                              }));
    }

    void EmptyLibraryShowsNothingWhateverTheChoices() {
        m_data.Remove("Pic.dat");
        App()->LoadData(m_data.Path());
        Show();
        QCOMPARE(m_panel->PictureList()->count(), 0);
        QCOMPARE(m_panel->PictureList()->SelectedRow(), -1);
        QCOMPARE(ShownRows(), Rows{});
        PickSize(1);
        QTest::keyClick(m_panel->SortCombo(), Qt::Key_Down);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ShownRows(), Rows{});
        QCOMPARE(m_boxes->boxes, 0);
    }

    void MissingScoreFileShowsAnEmptyListWithoutError() {
        m_data.Remove("Score.dat");
        Show();
        QCOMPARE(PictureRows(), (QStringList{"Sea", "Hill", "Lake"}));
        QCOMPARE(ShownRows(), Rows{});
        QCOMPARE(m_boxes->boxes, 0);
    }

    void DamagedScoreFileIsReportedAndTheEarlierRowsStay() {
        Show();
        const Rows before = ShownRows();
        Hide();
        // Two rows announced, the second cut short: only Hill.jpg's "kim" can be read.
        m_data.WriteScores({{0, "Hill.jpg", "kim", 9, 9, "2006.07.07"},
                            {0, "Sea.jpg", "lou", 1, 1, "2006.07.08"}});
        const std::filesystem::path file = m_data.FilePath("Score.dat");
        std::filesystem::resize_file(file, std::filesystem::file_size(file) - 3);
        // A picture added meanwhile must not show either: the refresh stops at the damage.
        const_cast<ImagePackage&>(App()->m_picturePackage)
            .AddEntry("Moon.jpg", test::SolidBmp(8, 6, 0xffffffff));

        Show();
        QCOMPARE(m_boxes->boxes, 1);
        QCOMPARE(m_boxes->lastIcon, QMessageBox::Critical);
        QCOMPARE(m_boxes->lastCaption, QStringLiteral("Corvalin"));
        QVERIFY(m_boxes->lastText.contains(QStringLiteral("Score.dat")));
        QCOMPARE(ShownRows(), before);
        QCOMPARE(PictureRows(), (QStringList{"Sea", "Hill", "Lake"}));

        // What was read before the damage is what a new choice ranks.
        ClickPictureRow(1);
        QCOMPARE(ShownRows(), (Rows{{"1", "kim", "9", "9", "2006.07.07"}}));
        ClickPictureRow(0);
        QCOMPARE(ShownRows(), Rows{});

        Hide();
        Show();
        QCOMPARE(m_boxes->boxes, 2);
    }

    void PanelIsFilledAroundItsControls() {
        Show();
        const QImage image = m_panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(620, 300));
        QVERIFY(test::AllPixelsAre(image, QRect(0, 0, 620, 20), kFill));
        QVERIFY(test::AllPixelsAre(image, QRect(0, 280, 620, 20), kFill));
        QVERIFY(test::AllPixelsAre(image, QRect(0, 0, 20, 300), kFill));
        QVERIFY(test::AllPixelsAre(image, QRect(200, 0, 20, 300), kFill));
        QVERIFY(test::AllPixelsAre(image, QRect(600, 0, 20, 300), kFill));
        QVERIFY(!test::AllPixelsAre(image, QRect(220, 20, 380, 260), kFill));
    }

    void PressOnThePanelNeverReachesTheMainWindow() {
        Show();
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, QPoint(210, 290));
        QCOMPARE(m_host->pressesReceived, 0);
    }

    void ScoreSectionOfTheMainWindowShowsTheRankedGames() {
        m_host.reset();
        CCorvalin window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint scoreButton(150, 40);
        QTest::mouseMove(&window, scoreButton);
        QTest::mouseClick(&window, Qt::LeftButton, {}, scoreButton);
        QCoreApplication::sendPostedEvents();
        m_panel = window.Score();
        QCOMPARE(m_panel->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(ShownRows().size(), 6);
        QCOMPARE(ShownRows().first(), (QStringList{"1", "fay", "7", "100", "2006.02.02"}));
    }

private:
    void Show() { m_panel->setGeometry(kContent); }
    void Hide() { m_panel->setGeometry(kHidden); }

    static QStringList ItemsOf(const QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }

    QStringList PictureRows() const {
        QStringList rows;
        for (int i = 0; i < m_panel->PictureList()->count(); ++i)
            rows << m_panel->PictureList()->item(i)->text();
        return rows;
    }

    Rows ShownRows() const {
        Rows rows;
        const QTreeWidget* list = m_panel->ScoreList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList texts;
            for (int column = 0; column < list->columnCount(); ++column)
                texts << list->topLevelItem(i)->text(column);
            rows << texts;
        }
        return rows;
    }

    void ClickPictureRow(int row) {
        PictureListBox* list = m_panel->PictureList();
        const QPoint point = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QCoreApplication::sendPostedEvents();
    }

    // Picks by keys, as a player can, one step at a time from the current index.
    void PickSize(int index) {
        QComboBox* box = m_panel->SizeCombo();
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
        QCoreApplication::sendPostedEvents();
    }

    const test::DataDir& m_data;
    std::unique_ptr<BoxWatcher> m_boxes;
    std::unique_ptr<test::PanelHost> m_host;
    ScoreWnd* m_panel = nullptr;
};

int main(int argc, char** argv) {
    CCorvalinApp app(argc, argv);
    test::DataDir data;
    ScorePanelTest tests(data);
    return QTest::qExec(&tests, argc, argv);
}

#include "ScorePanelTest.moc"
