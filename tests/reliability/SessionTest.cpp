// A whole session on the default skin and pictures, as a player has it: start, play a game to
// its stored score, look at every section, import a picture and remove two, close. Run under
// the sanitizers and under valgrind it shows no leak and no invalid access; at its end the
// program holds no file open that it did not hold before the window was made.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QThreadPool>
#include <QTreeWidget>
#include <optional>

#include "app/Corvalin.h"
#include "core/scores/ScoreFile.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/BoardSolver.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/TestImages.h"

namespace {

constexpr std::uint32_t kSeed = 2026;

const QRect kGameButton = RectFromEdges(7, 25, 71, 63);
const QRect kResButton = RectFromEdges(72, 25, 136, 63);
const QRect kScoreButton = RectFromEdges(137, 25, 201, 63);
const QRect kAboutButton = RectFromEdges(202, 25, 266, 63);
const QRect kCloseButton = RectFromEdges(609, 4, 627, 23);
const QRect kAddButton = RectFromEdges(420, 250, 500, 282);
const QRect kDelButton = RectFromEdges(520, 250, 600, 282);

// The program's open files: descriptor number and what it names.
QStringList OpenFiles() {
    QStringList files;
    const QDir fds("/proc/self/fd");
    for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        files << fd + " -> " + QFileInfo(fds.filePath(fd)).symLinkTarget();
    return files;
}

void ClickAt(QWidget& widget, const QRect& rect) {
    QTest::mouseMove(&widget, rect.center());
    QTest::mouseClick(&widget, Qt::LeftButton, {}, rect.center());
    QCoreApplication::processEvents();  // the posted click
}

test::ModalAnswerer::Step AnswerYes() {
    return test::OnBox([](QMessageBox& box) {
        const QString text = box.text();
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(text, QString("Are you sure to delete the current picture?"));
    });
}

// Waits until every step was taken; modal loops run the steps meanwhile.
void ExpectAllAnswered(const test::ModalAnswerer& steps, int count) {
    QTRY_COMPARE_WITH_TIMEOUT(steps.Answered(), count, 60000);
    QCOMPARE(steps.Unexpected(), QStringList());
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

    test::DataFolder m_data;
    std::optional<test::ScopedTmpDir> m_tmpDir;

private slots:
    void initTestCase() {
        for (const char* name : {"Skin.dat", "Pic.dat"}) {
            const auto bytes = ReadBytes(std::string(CORVALIN_ASSET_DIR "/") + name);
            QVERIFY(!bytes.empty());
            m_data.WriteBytes(name, bytes);
        }
        m_data.WriteScores({});
        m_tmpDir.emplace();
    }

    void AWholeSessionLeavesNothingBehind() {
        const QStringList openBefore = OpenFiles();
        App()->LoadData(m_data.Path());
        const std::vector<std::string> pictures = m_data.PackageNames();
        QVERIFY(pictures.size() >= 3);
        auto window = std::make_unique<CCorvalin>();
        window->show();

        // A game on the first picture, solved, stored under a name.
        GameFrame& game = *window->Game();
        PostMessage(&game, UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        game.View()->Board().ShuffleWithSeed(kSeed);
        {
            test::ModalAnswerer steps({test::TypeName("Ann")});
            const test::SolveResult solved = test::SolveByClicks(*game.View(), kSeed);
            ExpectAllAnswered(steps, 1);
            const std::vector<ScoreRecord> table = m_data.Scores();
            QCOMPARE(table.size(), std::size_t(1));
            QCOMPARE(table[0].pictureName, pictures.front());
            QCOMPARE(table[0].steps, static_cast<std::uint32_t>(std::min(solved.moved, 999)));
        }

        // The score section lists the game.
        ClickAt(*window, kScoreButton);
        QCOMPARE(window->Score()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window->Score()->ScoreList()->topLevelItemCount(), 1);

        // The library: import a picture through Add, remove it and the played one through Del.
        ClickAt(*window, kResButton);
        ResFrame& library = *window->Res();
        QCOMPARE(library.geometry(), ToQRect(layout::kContentRect));
        const std::string beach = test::WriteImage(
            m_data, "Beach.bmp", test::Solid(1024, 768, qRgb(30, 140, 200)), "BMP");
        {
            test::ModalAnswerer steps({test::ChooseFile(beach)});
            ClickAt(library, kAddButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(m_data.PackageNames().back(), std::string("Beach.jpg"));
        QCOMPARE(App()->m_currentPicture, std::string("Beach.jpg"));
        {
            test::ModalAnswerer steps({AnswerYes()});
            ClickAt(library, kDelButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(m_data.PackageNames(), pictures);
        QCOMPARE(library.PictureList()->SelectedRow(), 0);
        {
            test::ModalAnswerer steps({AnswerYes()});
            ClickAt(library, kDelButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(m_data.PackageNames(),
                 std::vector<std::string>(pictures.begin() + 1, pictures.end()));
        QCOMPARE(m_data.Scores().size(), std::size_t(0));

        // Every other section, and back to the game.
        ClickAt(*window, kAboutButton);
        QCOMPARE(window->About()->geometry(), ToQRect(layout::kContentRect));
        ClickAt(*window, kScoreButton);
        QCOMPARE(window->Score()->ScoreList()->topLevelItemCount(), 0);
        ClickAt(*window, kGameButton);
        QCOMPARE(window->Game()->geometry(), ToQRect(layout::kContentRect));

        // Close, as the close button does, and tear the window down as the program does.
        ClickAt(*window, kCloseButton);
        QVERIFY(!window->isVisible());
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();

        // Qt's pooled worker threads each keep an event descriptor until they expire.
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(OpenFiles(), openBefore);
        QCOMPARE(m_tmpDir->Entries(), std::vector<std::string>{});
    }
};

CORVALIN_APP_TEST_MAIN(SessionTest)
#include "SessionTest.moc"
