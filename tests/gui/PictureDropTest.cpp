// Pictures dropped on the game's window from a file manager.

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "app/Corvalin.h"
#include "core/layout/SkinLayout.h"
#include "game/GameFrame.h"
#include "library/PictureListBox.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/HeldImport.h"
#include "support/qt/ModalAnswerer.h"
#include "support/qt/TestImages.h"

namespace {

// Sends a drop of mime at the middle of the window; true when the window took it.
bool Drop(CCorvalin& window, const QMimeData& mime) {
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

QList<QUrl> FileUrls(const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    return urls;
}

std::vector<std::string> LibraryNames() {
    std::vector<std::string> names;
    App()->m_picturePackage.GetNames(names);
    return names;
}

}  // namespace

class PictureDropTest : public QObject {
    Q_OBJECT

    test::DataFolder m_data;

private slots:
    void initTestCase() {
        m_data.WritePackage("Pic.dat", test::PatternLibrary());
        m_data.WriteScores({});
    }
    void init() { App()->LoadData(m_data.Path()); }

    void ThreeFilesImportInOrderAndTheRefusalIsListedAfterTheLast() {
        const std::string beach = m_data.File("Beach.bmp"), notes = m_data.File("Notes.bmp"),
                          sea = m_data.File("Sea.png");
        QVERIFY(test::Solid(64, 48, qRgb(200, 10, 10)).save(QString::fromStdString(beach)));
        m_data.WriteBytes("Notes.bmp", {'n', 'o', 't', 'e', 's'});
        QVERIFY(test::Solid(64, 48, qRgb(10, 10, 200)).save(QString::fromStdString(sea)));

        CCorvalin window;
        window.show();
        QString message;
        std::vector<std::string> namesWhenTold;
        std::string chosenWhenTold;
        bool picturesShownWhenTold = false;
        test::ModalAnswerer steps({test::OnBox([&](QMessageBox& box) {
            message = box.text();
            namesWhenTold = LibraryNames();
            chosenWhenTold = App()->m_currentPicture;
            picturesShownWhenTold = window.Res()->geometry() == ToQRect(layout::kContentRect) &&
                                    window.Game()->size().isEmpty();
            box.accept();
        })});
        QMimeData mime;
        mime.setUrls(FileUrls({beach, notes, sea}));
        QVERIFY(Drop(window, mime));
        QTRY_COMPARE(steps.Answered(), 1);

        const std::vector<std::string> expected{"First.jpg", "Second.jpg", "Beach.jpg", "Sea.jpg"};
        QCOMPARE(namesWhenTold, expected);
        QVERIFY(message.contains("Notes.bmp: Invalid file!"));
        QVERIFY(!message.contains("Beach") && !message.contains("Sea"));
        QCOMPARE(window.Res()->PictureNames(), expected);
        // The list of refusals stands over the Pictures section, the last added chosen.
        QVERIFY(picturesShownWhenTold);
        QCOMPARE(chosenWhenTold, std::string("Sea.jpg"));
        QCOMPARE(window.Res()->PictureList()->currentRow(), 3);
        QCOMPARE(window.Res()->geometry(), ToQRect(layout::kContentRect));
        QVERIFY(steps.Unexpected().isEmpty());
    }

    // The window's events go on while a file decodes; a drop arriving then waits for no import
    // of its own: one import runs at a time.
    void AnImportStartedWhileOneRunsIsIgnored() {
        const std::string cove = m_data.File("Cove.bmp"), reef = m_data.File("Reef.bmp");
        QVERIFY(test::Solid(64, 48, qRgb(200, 10, 10)).save(QString::fromStdString(cove)));
        QVERIFY(test::Solid(64, 48, qRgb(10, 10, 200)).save(QString::fromStdString(reef)));
        CCorvalin window;
        std::vector<std::string> expected = window.Res()->PictureNames();
        expected.push_back("Cove.jpg");
        bool secondTried = false;
        test::HoldImports(*window.Res(), [&] { return secondTried; });
        bool dropsAccepted = true;
        QMetaObject::invokeMethod(
            &window,
            [&] {
                QMimeData mime;
                mime.setUrls(FileUrls({reef}));
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                                      Qt::NoModifier);
                QCoreApplication::sendEvent(&window, &enter);
                dropsAccepted = enter.isAccepted();
                secondTried = true;  // lets Cove go on once this returns
                window.Res()->ImportFiles({reef});
            },
            Qt::QueuedConnection);
        window.Res()->ImportFiles({cove});
        QVERIFY(secondTried);
        QVERIFY(!dropsAccepted);
        QCOMPARE(window.Res()->PictureNames(), expected);
    }

    void DropsOfOtherThanLocalFilesChangeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("remote") << "remote";
        QTest::newRow("text") << "text";
    }

    void DropsOfOtherThanLocalFilesChangeNothing() {
        QFETCH(QString, kind);
        const std::string picture = m_data.File("Fine.bmp");
        QVERIFY(test::Solid(64, 48, qRgb(10, 200, 10)).save(QString::fromStdString(picture)));
        QMimeData mime;
        if (kind == "folder") mime.setUrls(FileUrls({picture, m_data.Path()}));
        if (kind == "remote")
            mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(picture)),
                          QUrl("https://example.org/Sea.jpg")});
        if (kind == "text") mime.setText(QString::fromStdString(picture));
        const auto before = m_data.Bytes("Pic.dat");

        CCorvalin window;
        window.show();
        test::ModalAnswerer steps;
        QVERIFY(!Drop(window, mime));
        QCoreApplication::processEvents();
        QCOMPARE(m_data.Bytes("Pic.dat"), before);
        QCOMPARE(window.Res()->size(), QSize(0, 0));
        QCOMPARE(steps.Answered(), 0);
    }
};

CORVALIN_APP_TEST_MAIN(PictureDropTest)
#include "PictureDropTest.moc"
