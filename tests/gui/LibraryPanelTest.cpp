#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "app/Corvalin.h"
#include "app/CorvalinApp.h"
#include "core/io/FileIO.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "library/BoardSizeComboBox.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"
#include "skin/SkinImage.h"
#include "support/ScopedTmpDir.h"
#include "support/qt/HeldImport.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/TestImages.h"
#include "support/qt/TestMain.h"

namespace {

const QRect kAddButton = RectFromEdges(420, 250, 500, 282);
const QRect kDelButton = RectFromEdges(520, 250, 600, 282);
constexpr QRgb kAddNormal = 0xff00c000;
constexpr QRgb kDelNormal = 0xffc00000;

const QString kDuplicate = QStringLiteral(
    "A file with the desired name already exists in the library.\n"
    "please use a different name and try again.!");
const QString kOnlyOne =
    QStringLiteral("Only one picture in the library,\nwhich can not be deleted.");
const QString kQuestion = QStringLiteral("Are you sure to delete the current picture?");

// The main window stand-in: takes presses that a panel lets through and the play request.
class Owner : public MessageReceiver<QWidget> {
public:
    int plays = 0;
    int presses = 0;

protected:
    qintptr OnMessage(unsigned message, quintptr, qintptr) override {
        if (message == UM_PLAYPICTURE) ++plays;
        return 0;
    }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

ScoreRecord Record(std::uint32_t grid, const std::string& picture, const std::string& user) {
    return ScoreRecord{grid, picture, user, 10 + grid, 20 + grid, "2024.03.05"};
}

QStringList Rows(const PictureListBox& list) {
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
    return rows;
}

std::vector<std::string> PackageNames() {
    std::vector<std::string> names;
    App()->m_picturePackage.GetNames(names);
    return names;
}

void ClickRow(PictureListBox& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
    QCoreApplication::processEvents();
}

// As the window system delivers a double click: press, release, double click, release.
void DoubleClickRow(PictureListBox& list, int row) {
    const QPoint point = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, point);
    // The list posts to the panel, which posts the play request on to its owner.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void ClickButton(QWidget& panel, const QRect& button) {
    QTest::mouseMove(&panel, button.center());
    QTest::mouseClick(&panel, Qt::LeftButton, {}, button.center());
    QCoreApplication::processEvents();  // the posted click runs the operation
}

QRgb PreviewColour(const ResFrame& panel) {
    return const_cast<ResFrame&>(panel).grab().toImage().pixel(200, 150);
}

}  // namespace

class LibraryPanelTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::DataFolder> m_data;
    std::optional<test::ScopedTmpDir> m_tmpDir;
    std::optional<Owner> m_owner;
    ResFrame* m_panel = nullptr;

    void Load(const std::vector<std::string>& pictures) {
        m_data->WritePackage("Pic.dat", test::SolidLibrary(pictures));
        App()->LoadData(m_data->Path());
    }

    ResFrame& OpenPanel() {
        m_owner.emplace();
        m_owner->resize(CCorvalin::kWidth, CCorvalin::kHeight);
        m_panel = new ResFrame(&*m_owner, QRect(0, 0, 0, 0));
        m_panel->setGeometry(ToQRect(layout::kContentRect));
        m_owner->show();
        return *m_panel;
    }

    PictureListBox& List() { return *m_panel->PictureList(); }

    void WriteSkin() const {
        m_data->WritePackage("Skin.dat", {{"AddNormal.jpg", test::SolidBmp(80, 32, kAddNormal)},
                                          {"DelNormal.jpg", test::SolidBmp(80, 32, kDelNormal)}});
    }

    // Runs an import of path through the Add button's operation, answering the dialog and
    // then the boxes with steps.
    int Import(const std::string& path, std::deque<test::ModalAnswerer::Step> boxes = {},
               test::SeenDialog* dialog = nullptr) {
        return Import(QFile::decodeName(path.c_str()), std::move(boxes), dialog);
    }

    // The same with the path as the dialog shows it.
    int Import(const QString& path, std::deque<test::ModalAnswerer::Step> boxes = {},
               test::SeenDialog* dialog = nullptr) {
        boxes.push_front(test::ChooseFile(path, dialog));
        test::ModalAnswerer answerer(std::move(boxes));
        m_panel->AddPicture();
        return answerer.Answered();
    }

    int Remove(std::deque<test::ModalAnswerer::Step> boxes) {
        test::ModalAnswerer answerer(std::move(boxes));
        m_panel->RemovePicture();
        return answerer.Answered();
    }

    // Pic.dat becomes a directory: every write of it fails from now on.
    void BreakPicDat() const {
        const QString path = QString::fromStdString(m_data->File("Pic.dat"));
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    }

    void ExpectInStep(const std::vector<std::string>& names) {
        QCOMPARE(m_panel->PictureNames(), names);
        QCOMPARE(PackageNames(), names);
        QCOMPARE(m_data->PackageNames(), names);
        QStringList rows;
        for (const std::string& name : names) rows << WidenText(name.substr(0, name.size() - 4));
        QCOMPARE(Rows(List()), rows);
    }

private slots:
    void init() {
        m_data.emplace();
        m_tmpDir.emplace();
        WriteSkin();
        m_data->WriteScores({});
    }

    void cleanup() {
        m_owner.reset();
        m_panel = nullptr;
        const std::vector<std::string> scratch = m_tmpDir->Entries();
        m_tmpDir.reset();
        m_data.reset();
        QVERIFY(scratch.empty());  // no scratch left behind
    }

    void ItOpensWithEveryPictureTheFirstSelectedAndItsPreview() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        QCOMPARE(Rows(List()), (QStringList{"First", "Second", "Third"}));
        QCOMPARE(List().SelectedRow(), 0);
        QCOMPARE(panel.SizeCombo()->count(), 6);
        QCOMPARE(panel.SizeCombo()->currentIndex(), 0);
        QCOMPARE(panel.SizeCombo()->itemText(0), QString::fromUtf8("3(rows)\u00d74(cols)"));
        QCOMPARE(panel.SizeCombo()->itemText(4), QString::fromUtf8("5(rows)\u00d77(cols)"));
        QCOMPARE(panel.SizeCombo()->geometry().topLeft(), QPoint(420, 20));
        QCOMPARE(panel.SizeCombo()->width(), 180);
        QCOMPARE(List().geometry(), RectFromEdges(420, 60, 600, 230));

        const QImage shot = panel.grab().toImage();
        QCOMPARE(shot.size(), QSize(620, 300));
        QCOMPARE(shot.pixel(0, 0), test::PictureColour(0));
        QCOMPARE(shot.pixel(399, 299), test::PictureColour(0));
        QCOMPARE(shot.pixel(400, 0), ToQColor(layout::kPanelFill).rgb());
        QCOMPARE(shot.pixel(419, 299), ToQColor(layout::kPanelFill).rgb());
        QCOMPARE(shot.pixel(kAddButton.center()), kAddNormal);
        QCOMPARE(shot.pixel(kDelButton.center()), kDelNormal);
        QCOMPARE(shot.pixel(510, 266), ToQColor(layout::kPanelFill).rgb());
    }

    void ClickOnARowMakesItCurrentAndKeepsTheSize() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        App()->m_boardRows = 5;
        App()->m_boardCols = 7;
        ClickRow(List(), 2);
        QCOMPARE(App()->m_currentPicture, std::string("Third.jpg"));
        QCOMPARE(PreviewColour(panel), test::PictureColour(2));
        QCOMPARE(App()->m_boardRows, 5);
        QCOMPARE(App()->m_boardCols, 7);
    }

    void ClickOnTheSelectedRowLoadsItsPreviewAgain() {
        Load({"First.jpg", "Second.jpg"});
        ResFrame& panel = OpenPanel();
        // The package's First.jpg changes colour behind the panel's back; only a fresh
        // decode shows the new one.
        auto& package = const_cast<ImagePackage&>(App()->m_picturePackage);
        QVERIFY(package.Remove("First.jpg"));
        package.AddEntry("First.jpg", test::SolidBmp(400, 300, 0xff123456));
        QCOMPARE(PreviewColour(panel), test::PictureColour(0));
        App()->m_currentPicture = "Second.jpg";
        ClickRow(List(), 0);
        QCOMPARE(PreviewColour(panel), QRgb(0xff123456));
        QCOMPARE(App()->m_currentPicture, std::string("First.jpg"));
    }

    // A row reached by the keys is chosen as a click chooses it: previewed, current, and the
    // one Del asks about and removes.
    void ARowReachedByTheArrowKeysIsPreviewedAndIsTheOneDeleted() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) QTest::keyClick(&List(), key);
        QCoreApplication::processEvents();
        QCOMPARE(List().SelectedRow(), 1);
        QCOMPARE(App()->m_currentPicture, std::string("Second.jpg"));
        QCOMPARE(PreviewColour(panel), test::PictureColour(1));

        test::SeenDialog question;
        QRgb previewWhenAsked = 0;
        QCOMPARE(Remove({test::OnBox(
                     [&](QMessageBox& box) {
                         previewWhenAsked = PreviewColour(panel);
                         box.button(QMessageBox::Yes)->click();
                     },
                     &question)}),
                 1);
        QCOMPARE(question.text, kQuestion);
        QCOMPARE(previewWhenAsked, test::PictureColour(1));
        ExpectInStep({"First.jpg", "Third.jpg"});
    }

    void SizePickSetsTheChoiceAtOnce() {
        Load({"First.jpg", "Second.jpg"});
        ResFrame& panel = OpenPanel();
        for (int i = 0; i < 4; ++i) QTest::keyClick(panel.SizeCombo(), Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(panel.SizeCombo()->currentIndex(), 4);
        QCOMPARE(App()->m_boardRows, 5);
        QCOMPARE(App()->m_boardCols, 7);
        QCOMPARE(App()->m_currentPicture, std::string("First.jpg"));
        QCOMPARE(m_owner->plays, 0);
    }

    void DoubleClickPlaysThePictureAtTheSizeShown() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        panel.SizeCombo()->setCurrentIndex(2);  // shown, not yet picked
        QCOMPARE(App()->m_boardRows, 3);
        DoubleClickRow(List(), 1);
        QCOMPARE(m_owner->plays, 1);
        QCOMPARE(App()->m_currentPicture, std::string("Second.jpg"));
        QCOMPARE(App()->m_boardRows, 4);
        QCOMPARE(App()->m_boardCols, 6);
        QCOMPARE(PreviewColour(panel), test::PictureColour(1));
    }

    void PressesOnThePanelGoNoFurther() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, QPoint(410, 10));
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {},
                          QPoint(20, 160));  // below the rows
        QCOMPARE(m_owner->presses, 0);
    }

    void ShortNamesShowAsEmptyRowsAndStillSelect() {
        Load({"First.jpg", "a.jp"});
        OpenPanel();
        QCOMPARE(Rows(List()), (QStringList{"First", ""}));
        ClickRow(List(), 1);
        QCOMPARE(App()->m_currentPicture, std::string("a.jp"));
    }

    void AnEmptyLibraryShowsNothingAndRemovesNothing() {
        Load({});
        ResFrame& panel = OpenPanel();
        QCOMPARE(List().count(), 0);
        QVERIFY(panel.Preview() == nullptr);
        QCOMPARE(App()->m_currentPicture, std::string());
        QCOMPARE(PreviewColour(panel), ToQColor(layout::kPanelFill).rgb());
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Return)}), 1);
        QVERIFY(!QFile::exists(QString::fromStdString(m_data->File("Pic.dat"))));
    }

    void ImportThroughTheDialogAppendsAndSelectsThePicture() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        App()->m_boardRows = 4;
        App()->m_boardCols = 5;
        const std::string beach = test::WriteImage(
            *m_data, "Beach.bmp", test::Solid(1024, 768, qRgb(250, 200, 0)), "BMP");
        test::SeenDialog dialog;
        QCOMPARE(Import(beach, {}, &dialog), 1);
        QCOMPARE(dialog.title, QString("Open"));
        // Qt trims the blank that the first filter's description consists of.
        QCOMPARE(dialog.filters, (QStringList{"(*.bmp)", "jpg (*.jpg)", "All Files (*.*)"}));
        QCOMPARE(dialog.activeFilter, QString("(*.bmp)"));

        ExpectInStep({"First.jpg", "Second.jpg", "Third.jpg", "Beach.jpg"});
        QCOMPARE(List().SelectedRow(), 3);
        QCOMPARE(App()->m_currentPicture, std::string("Beach.jpg"));
        QCOMPARE(App()->m_boardRows, 4);
        QCOMPARE(App()->m_boardCols, 5);
        ImagePackage onDisk;
        QVERIFY(onDisk.Load(m_data->File("Pic.dat")));
        QImage stored;
        const std::vector<std::uint8_t>& jpeg = *onDisk.FindData("Beach.jpg");
        QVERIFY(stored.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPG"));
        QCOMPARE(stored.size(), QSize(400, 300));
        QCOMPARE(panel.Preview()->GetWidth(), 400u);
        const QRgb shown = PreviewColour(panel);
        QVERIFY(qAbs(qRed(shown) - 250) < 8 && qAbs(qGreen(shown) - 200) < 8 && qBlue(shown) < 8);
    }

    void ATypedNameOfNoFileReachesTheImportAndIsAnInvalidFile() {
        Load({"First.jpg"});
        OpenPanel();
        test::SeenDialog box;
        QCOMPARE(Import(m_data->File("Nowhere.bmp"), {test::PressOnBox(Qt::Key_Return, &box)}), 2);
        QCOMPARE(box.text, QString("Invalid file!"));
        ExpectInStep({"First.jpg"});
    }

    void ANameThatIsNotUtf8IsPickedWithItsOwnBytes_data() {
        QTest::addColumn<QString>("chosen");
        // Qt's reading, U+FFFD for the stray byte; and what a player types.
        QTest::addRow("as Qt reads it") << QFile::decodeName("caf\xe9.jpg");
        QTest::addRow("typed") << QStringLiteral("caf\u00e9.jpg");
    }

    void ANameThatIsNotUtf8IsPickedWithItsOwnBytes() {
        QFETCH(QString, chosen);
        Load({"First.jpg"});
        OpenPanel();
        test::WriteImage(*m_data, "caf\xe9.jpg", test::Solid(80, 60, qRgb(250, 200, 0)), "JPG");
        QCOMPARE(Import(QFile::decodeName(m_data->Path().c_str()) + chosen), 1);
        ExpectInStep({"First.jpg", "caf\xe9.jpg"});
        QCOMPARE(App()->m_currentPicture, std::string("caf\xe9.jpg"));
    }

    void NamesThatQtReadsAlikeAreRefused() {
        Load({"First.jpg"});
        OpenPanel();
        const QImage image = test::Solid(80, 60, qRgb(250, 200, 0));
        test::WriteImage(*m_data, "caf\xe8.jpg", image, "JPG");
        const std::string path = test::WriteImage(*m_data, "caf\xe9.jpg", image, "JPG");
        test::SeenDialog box;
        QCOMPARE(Import(QFile::decodeName(path.c_str()), {test::PressOnBox(Qt::Key_Return, &box)}),
                 2);
        QCOMPARE(box.text, QString("Invalid file!"));
        ExpectInStep({"First.jpg"});
    }

    void CancellingTheDialogChangesNothing() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const auto before = m_data->Bytes("Pic.dat");
        test::ModalAnswerer steps({test::CancelFileDialog()});
        m_panel->AddPicture();
        QCOMPARE(steps.Answered(), 1);
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"First.jpg", "Second.jpg"});
    }

    // The progress shows while a file decodes too long; its Cancel ends the import at once,
    // without a message, and the file is not added.
    void CancelWhileAFileDecodesAddsNothing() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const auto before = m_data->Bytes("Pic.dat");
        const std::string beach =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(0, 90, 200)), "BMP");
        bool cancelled = false;
        test::HoldImports(*m_panel, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (progress == nullptr || !progress->isVisible()) return false;
            progress->findChild<QPushButton*>()->click();
            cancelled = true;
            return true;  // were Cancel not seen, the file would be added now
        });
        test::ModalAnswerer steps;
        m_panel->ImportFiles({beach});
        QVERIFY(cancelled);
        QCOMPARE(steps.Answered(), 0);
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"First.jpg", "Second.jpg"});
    }

    void RefusedImportsSayWhyAndChangeNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("message");
        QTest::newRow("same title") << "Second.bmp" << QByteArray("BMP") << kDuplicate;
        QTest::newRow("same library name") << "Second.jpeg" << QByteArray("JPG") << kDuplicate;
        QTest::newRow("text file") << "notes.txt" << QByteArray() << "Invalid file!";
        QTest::newRow("name too long") << QString(124, 'n') + ".bmp" << QByteArray("BMP")
                                       << "The file name is too long for the library.\nplease use "
                                          "a shorter name and try again.";
    }

    void RefusedImportsSayWhyAndChangeNothing() {
        QFETCH(QString, file);
        QFETCH(QByteArray, format);
        QFETCH(QString, message);
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const std::string path =
            format.isEmpty()
                ? m_data->WriteBytes(file.toStdString(), {'h', 'i', '\n'})
                : test::WriteImage(*m_data, file.toStdString(), test::Solid(64, 48, qRgb(9, 9, 9)),
                                   format.constData());
        const auto before = m_data->Bytes("Pic.dat");
        test::SeenDialog box;
        QCOMPARE(Import(path, {test::PressOnBox(Qt::Key_Return, &box)}), 2);
        QCOMPARE(box.text, message);
        QCOMPARE(box.title, QString("Corvalin"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"First.jpg", "Second.jpg"});
        QCOMPARE(App()->m_currentPicture, std::string("First.jpg"));
    }

    void NamesDifferingInCaseAreDifferentPictures() {
        Load({"First.jpg", "Beach.jpg"});
        OpenPanel();
        const std::string path =
            test::WriteImage(*m_data, "beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        QCOMPARE(Import(path), 1);
        ExpectInStep({"First.jpg", "Beach.jpg", "beach.jpg"});
    }

    void AFailedPicDatWriteOnAddLeavesEverythingAsOnDisk() {
        Load({"First.jpg", "Second.jpg"});
        ResFrame& panel = OpenPanel();
        const std::string path =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        BreakPicDat();
        test::SeenDialog report;
        QCOMPARE(Import(path, {test::PressOnBox(Qt::Key_Return, &report)}), 2);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(report.text.contains("Pic.dat"));
        QCOMPARE(panel.PictureNames(), (std::vector<std::string>{"First.jpg", "Second.jpg"}));
        QCOMPARE(PackageNames(), panel.PictureNames());
        QCOMPARE(Rows(List()), (QStringList{"First", "Second"}));
        QCOMPARE(App()->m_currentPicture, std::string("First.jpg"));
    }

    // The class names of the windows shown other than the panel's own.
    QStringList OtherWindowsShown() const {
        QStringList shown;
        for (QWidget* widget : QApplication::allWidgets())
            if (widget->isWindow() && widget->isVisible() && widget != &*m_owner)
                shown << widget->metaObject()->className();
        return shown;
    }

    // A file that decoded long enough for the progress to show, then a Pic.dat that cannot be
    // written: the progress is gone before the error comes, and nothing comes up over it while
    // it waits for the player.
    void AFileErrorAfterALongDecodeIsTheOnlyWindowShown() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const std::string path =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        BreakPicDat();
        QElapsedTimer held;
        held.start();
        bool progressShown = false;
        test::HoldImports(*m_panel, [&] {
            progressShown = progressShown || OtherWindowsShown().contains("QProgressDialog");
            return held.elapsed() > 800;
        });
        QStringList withTheBox;
        QStringList later;
        test::SeenDialog report;
        test::ModalAnswerer steps({test::OnBox(
            [&](QMessageBox& box) {
                withTheBox = OtherWindowsShown();
                QTest::qWait(800);  // longer than the progress waits before it shows
                later = OtherWindowsShown();
                box.accept();
            },
            &report)});
        m_panel->ImportFiles({path});
        QVERIFY(progressShown);
        QCOMPARE(steps.Answered(), 1);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QCOMPARE(withTheBox, QStringList{"QMessageBox"});
        QCOMPARE(later, QStringList{"QMessageBox"});
        QCOMPARE(m_panel->PictureNames(), (std::vector<std::string>{"First.jpg", "Second.jpg"}));
    }

    // corvalin-dat ARGS in the data folder, as the player would run it beside the game.
    void RunShellTool(const QStringList& args) {
        QProcess shell;
        shell.setWorkingDirectory(QString::fromStdString(m_data->Path()));
        shell.start(CORVALIN_DAT_PATH, args);
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 0);
    }

    void APictureTheShellToolAddedIsKeptAndListedWhenTheGameAdds() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        test::WriteImage(*m_data, "Shell.png", test::Solid(64, 48, qRgb(1, 2, 3)), "PNG");
        RunShellTool({"import", "Pic.dat", "Shell.png"});
        const std::string path =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        QCOMPARE(Import(path), 1);
        ExpectInStep({"First.jpg", "Second.jpg", "Shell.jpg", "Beach.jpg"});
        QCOMPARE(List().SelectedRow(), 3);
        QCOMPARE(App()->m_currentPicture, std::string("Beach.jpg"));
    }

    void ARemovalKeepsWhatTheShellToolChangedMeanwhile() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        OpenPanel();
        RunShellTool({"remove", "Pic.dat", "Third.jpg"});
        test::WriteImage(*m_data, "Shell.png", test::Solid(64, 48, qRgb(1, 2, 3)), "PNG");
        RunShellTool({"import", "Pic.dat", "Shell.png"});
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Return)}), 1);  // First.jpg, the selected row
        ExpectInStep({"Second.jpg", "Shell.jpg"});
        QCOMPARE(App()->m_currentPicture, std::string("Second.jpg"));
    }

    void APicDatThatCannotBeReadWhenAddingIsLeftAlone() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const auto before = m_data->Bytes("Pic.dat");
        const std::string path =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        // The read of Pic.dat under its lock is refused, as to a player without read access.
        static bool locked;
        locked = false;
        SetWriteStepHook([](const char* call) {
            if (std::string(call) == "flock") locked = true;
            return locked && std::string(call) == "open to read" ? EACCES : 0;
        });
        test::SeenDialog report;
        const int answered = Import(path, {test::PressOnBox(Qt::Key_Return, &report)});
        SetWriteStepHook(nullptr);
        QCOMPARE(answered, 2);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(report.text.contains("Pic.dat"));
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"First.jpg", "Second.jpg"});
    }

    void AnUnreadablePicDatIsReportedAndNeverWrittenOver() {
        // A link that leads to itself cannot be opened, even by root.
        const QString picDat = QString::fromStdString(m_data->File("Pic.dat"));
        QVERIFY(QFile::link("Pic.dat", picDat));
        Load({});
        OpenPanel();
        const std::string path =
            test::WriteImage(*m_data, "Beach.bmp", test::Solid(64, 48, qRgb(9, 9, 9)), "BMP");
        test::SeenDialog report;
        QCOMPARE(Import(path, {test::PressOnBox(Qt::Key_Return, &report)}), 2);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(report.text.contains("Pic.dat"));
        QVERIFY(report.text.contains("not changed"));
        QCOMPARE(QFileInfo(picDat).symLinkTarget(), QFileInfo(picDat).absoluteFilePath());
        QCOMPARE(List().count(), 0);
        QVERIFY(PackageNames().empty());
    }

    void RemovalWithOnePictureLeftIsRefused() {
        Load({"Only.jpg"});
        OpenPanel();
        const auto before = m_data->Bytes("Pic.dat");
        test::SeenDialog box;
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Return, &box)}), 1);
        QCOMPARE(box.text, kOnlyOne);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"Only.jpg"});
    }

    void EscapeDeclinesTheRemoval() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const auto before = m_data->Bytes("Pic.dat");
        test::SeenDialog question;
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Escape, &question)}), 1);
        QCOMPARE(question.text, kQuestion);
        QCOMPARE(question.icon, QMessageBox::Warning);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::Yes);
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        ExpectInStep({"First.jpg", "Second.jpg"});
    }

    void RemovalTakesThePictureAndItsScoresOfEverySize() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        std::vector<ScoreRecord> records;
        std::vector<ScoreRecord> kept;
        for (std::uint32_t grid = 0; grid < 6; ++grid) {
            records.push_back(Record(grid, "Second.jpg", "gone"));
            records.push_back(
                Record(grid, grid % 2 ? "First.jpg" : "Third.jpg", "kept" + std::to_string(grid)));
            kept.push_back(records.back());
        }
        records.push_back(Record(3, "second.jpg", "other case"));
        kept.push_back(records.back());
        m_data->WriteScores(records);

        ClickRow(List(), 1);
        QCOMPARE(App()->m_currentPicture, std::string("Second.jpg"));
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Return)}), 1);  // Enter takes the default, Yes
        ExpectInStep({"First.jpg", "Third.jpg"});
        QCOMPARE(m_data->Scores(), kept);
        QCOMPARE(List().SelectedRow(), 0);
        QCOMPARE(App()->m_currentPicture, std::string("First.jpg"));
        QCOMPARE(PreviewColour(panel), test::PictureColour(0));
    }

    void RemovalWithoutScoreFileRemovesThePictureOnly() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        QVERIFY(QFile::remove(QString::fromStdString(m_data->File("Score.dat"))));
        ClickRow(List(), 1);
        QCOMPARE(Remove({test::PressOnBox(Qt::Key_Return), test::PressOnBox(Qt::Key_Return)}),
                 1);  // no error box
        ExpectInStep({"First.jpg"});
        QVERIFY(!QFile::exists(QString::fromStdString(m_data->File("Score.dat"))));
    }

    void DamagedScoreFileStopsTheRemovalBeforeAnythingChanges() {
        Load({"First.jpg", "Second.jpg"});
        OpenPanel();
        const std::vector<std::uint8_t> damaged{3, 0, 0, 0, 1};
        m_data->WriteBytes("Score.dat", damaged);
        const auto before = m_data->Bytes("Pic.dat");
        test::SeenDialog report;
        QCOMPARE(
            Remove({test::PressOnBox(Qt::Key_Return), test::PressOnBox(Qt::Key_Return, &report)}),
            2);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(report.text.contains("Score.dat"));
        QCOMPARE(m_data->Bytes("Pic.dat"), before);
        QCOMPARE(m_data->Bytes("Score.dat"), damaged);
        ExpectInStep({"First.jpg", "Second.jpg"});
    }

    void AFailedPicDatWriteOnRemovalLeavesEverythingAsItWas() {
        Load({"First.jpg", "Second.jpg", "Third.jpg"});
        ResFrame& panel = OpenPanel();
        m_data->WriteScores({Record(0, "Second.jpg", "Ann")});
        const auto scores = m_data->Bytes("Score.dat");
        const auto packageBefore = App()->m_picturePackage.ToBytes();
        ClickRow(List(), 1);
        BreakPicDat();
        test::SeenDialog report;
        QCOMPARE(
            Remove({test::PressOnBox(Qt::Key_Return), test::PressOnBox(Qt::Key_Return, &report)}),
            2);
        QCOMPARE(report.icon, QMessageBox::Critical);
        QVERIFY(report.text.contains("Pic.dat"));
        QCOMPARE(App()->m_picturePackage.ToBytes(), packageBefore);
        QCOMPARE(panel.PictureNames(),
                 (std::vector<std::string>{"First.jpg", "Second.jpg", "Third.jpg"}));
        QCOMPARE(Rows(List()), (QStringList{"First", "Second", "Third"}));
        QCOMPARE(List().SelectedRow(), 1);
        QCOMPARE(m_data->Bytes("Score.dat"), scores);
    }

    void TheButtonsRunAddAndDelWhenClicked() {
        Load({"First.jpg", "Second.jpg"});
        ResFrame& panel = OpenPanel();
        {
            test::ModalAnswerer steps({test::CancelFileDialog()});
            ClickButton(panel, kAddButton);
            QCOMPARE(steps.Answered(), 1);
        }
        {
            ClickRow(List(), 1);
            test::ModalAnswerer steps({test::PressOnBox(Qt::Key_Return)});
            ClickButton(panel, kDelButton);
            QCOMPARE(steps.Answered(), 1);
            ExpectInStep({"First.jpg"});
        }
        {
            // Pressed on Del, released off it: no click.
            test::ModalAnswerer steps({test::PressOnBox(Qt::Key_Return)});
            QTest::mouseMove(&panel, kDelButton.center());
            QTest::mousePress(&panel, Qt::LeftButton, {}, kDelButton.center());
            QTest::mouseMove(&panel, QPoint(300, 200));
            QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(300, 200));
            QCoreApplication::processEvents();
            QCOMPARE(steps.Answered(), 0);
        }
    }

    void InTheMainWindowASizePickWaitsForTheGamePanelToBeShown() {
        Load({"First.jpg", "Second.jpg"});
        CCorvalin window;
        window.show();
        SendMessage(&window, UM_BUTTONCLICK, CCorvalin::kRes);
        ResFrame* library = window.Res();
        QCOMPARE(library->geometry(), ToQRect(layout::kContentRect));
        for (int i = 0; i < 4; ++i) QTest::keyClick(library->SizeCombo(), Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(App()->m_boardRows, 5);
        QCOMPARE(App()->m_boardCols, 7);
        QCOMPARE(window.Game()->View()->Board().Rows(), 3);
        QCOMPARE(window.Game()->View()->Board().Cols(), 4);
        SendMessage(&window, UM_BUTTONCLICK, CCorvalin::kGame);
        QCOMPARE(window.Game()->View()->Board().Rows(), 5);
        QCOMPARE(window.Game()->View()->Board().Cols(), 7);
    }

    void InTheMainWindowADoubleClickPlaysThePicture() {
        Load({"First.jpg", "Second.jpg"});
        CCorvalin window;
        window.show();
        SendMessage(&window, UM_BUTTONCLICK, CCorvalin::kRes);
        ResFrame* library = window.Res();
        library->SizeCombo()->setCurrentIndex(5);
        DoubleClickRow(*library->PictureList(), 1);
        QCOMPARE(App()->m_currentPicture, std::string("Second.jpg"));
        QCOMPARE(library->geometry().size(), QSize(0, 0));
        QCOMPARE(window.Game()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window.Game()->View()->Board().Rows(), 6);
        QCOMPARE(window.Game()->View()->Board().Cols(), 8);
        QVERIFY(window.Game()->View()->HasPicture());
    }
};

int main(int argc, char** argv) {
    CCorvalinApp app(argc, argv);
    LibraryPanelTest tests;
    return test::RunTests(&tests, argc, argv);
}

#include "LibraryPanelTest.moc"
