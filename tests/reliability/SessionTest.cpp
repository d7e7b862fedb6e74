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

#include "AppTestSupport.h"
#include "BoardSolver.h"
#include "LibraryTestSupport.h"
#include "app/Corvalin.h"
#include "core/scores/ScoreFile.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"

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

test::ModalSteps::Step TypeName(const QString& name) {
    return [name](QWidget& modal) {
        auto* edit = modal.findChild<QLineEdit*>();
        QVERIFY(edit != nullptr);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

test::ModalSteps::Step ChooseFile(const QString& path) {
    return [path](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        QVERIFY(dialog != nullptr);
        dialog->selectFile(path);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name != nullptr);
        name->setText(QFileInfo(path).fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

test::ModalSteps::Step AnswerYes() {
    return [](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), QString("Are you sure to delete the current picture?"));
        QTest::keyClick(box, Qt::Key_Return);
    };
}

// Waits until every step was taken; modal loops run the steps meanwhile.
void ExpectAllAnswered(const test::ModalSteps& steps, int count) {
    QTRY_COMPARE_WITH_TIMEOUT(steps.Answered(), count, 60000);
    QCOMPARE(steps.Unexpected(), QStringList());
}

std::vector<std::string> PackageNames(const std::string& path) {
    ImagePackage package;
    package.Load(path);
    std::vector<std::string> names;
    package.GetNames(names);
    return names;
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_data;
    QTemporaryDir m_scratch;

    std::string DataFile(const char* name) const {
        return QDir(m_data.path()).filePath(name).toStdString();
    }

private slots:
    void initTestCase() {
        for (const char* name : {"Skin.dat", "Pic.dat"})
            QVERIFY(QFile::copy(QStringLiteral(CORVALIN_ASSET_DIR "/") + name,
                                QDir(m_data.path()).filePath(name)));
        const std::uint8_t emptyTable[] = {0, 0, 0, 0};
        WriteFileAtomically(DataFile("Score.dat"), emptyTable);
        qputenv("TMPDIR", m_scratch.path().toLocal8Bit());
    }

    void AWholeSessionLeavesNothingBehind() {
        const QStringList openBefore = OpenFiles();
        App()->LoadData(m_data.path().toStdString() + "/");
        const std::vector<std::string> pictures = PackageNames(DataFile("Pic.dat"));
        QVERIFY(pictures.size() >= 3);
        auto window = std::make_unique<CCorvalin>();
        window->show();

        // A game on the first picture, solved, stored under a name.
        GameFrame& game = *window->Game();
        PostMessage(&game, UM_BUTTONCLICK, GameFrame::kNewButtonId);
        QCoreApplication::processEvents();
        game.View()->Board().ShuffleWithSeed(kSeed);
        {
            test::ModalSteps steps({TypeName("Ann")});
            const test::SolveResult solved = test::SolveByClicks(*game.View(), kSeed);
            ExpectAllAnswered(steps, 1);
            ScoreTable table;
            LoadScoreFile(DataFile("Score.dat"), table);
            QCOMPARE(table.GetCount(), std::size_t(1));
            QCOMPARE(table.GetAt(0).pictureName, pictures.front());
            QCOMPARE(table.GetAt(0).steps, static_cast<std::uint32_t>(std::min(solved.moved, 999)));
        }

        // The score section lists the game.
        ClickAt(*window, kScoreButton);
        QCOMPARE(window->Score()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window->Score()->ScoreList()->topLevelItemCount(), 1);

        // The library: import a picture through Add, remove it and the played one through Del.
        ClickAt(*window, kResButton);
        ResFrame& library = *window->Res();
        QCOMPARE(library.geometry(), ToQRect(layout::kContentRect));
        const QString beach = QDir(m_data.path()).filePath("Beach.bmp");
        QVERIFY(test::SolidImage(1024, 768, qRgb(30, 140, 200)).save(beach, "BMP"));
        {
            test::ModalSteps steps({ChooseFile(beach)});
            ClickAt(library, kAddButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(PackageNames(DataFile("Pic.dat")).back(), std::string("Beach.jpg"));
        QCOMPARE(App()->m_currentPicture, std::string("Beach.jpg"));
        {
            test::ModalSteps steps({AnswerYes()});
            ClickAt(library, kDelButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(PackageNames(DataFile("Pic.dat")), pictures);
        QCOMPARE(library.PictureList()->SelectedRow(), 0);
        {
            test::ModalSteps steps({AnswerYes()});
            ClickAt(library, kDelButton);
            ExpectAllAnswered(steps, 1);
        }
        QCOMPARE(PackageNames(DataFile("Pic.dat")),
                 std::vector<std::string>(pictures.begin() + 1, pictures.end()));
        ScoreTable scores;
        LoadScoreFile(DataFile("Score.dat"), scores);
        QCOMPARE(scores.GetCount(), std::size_t(0));

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
        QCOMPARE(test::EntriesOf(m_scratch.path()), QStringList());
    }
};

CORVALIN_APP_TEST_MAIN(SessionTest)
#include "SessionTest.moc"
