// Pictures dropped on the game's window from a file manager.

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "AppTestSupport.h"
#include "LibraryTestSupport.h"
#include "app/Corvalin.h"
#include "core/layout/SkinLayout.h"
#include "game/GameFrame.h"
#include "library/ResFrame.h"
#include "skin/EdgeRect.h"

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
    void init() { App()->LoadData(m_data.Path()); }

    void ThreeFilesImportInOrderAndTheRefusalIsListedAfterTheLast() {
        const std::string beach = m_data.File("Beach.bmp"), notes = m_data.File("Notes.bmp"),
                          sea = m_data.File("Sea.png");
        QVERIFY(test::SolidImage(64, 48, qRgb(200, 10, 10)).save(QString::fromStdString(beach)));
        WriteFileAtomically(notes, std::vector<std::uint8_t>{'n', 'o', 't', 'e', 's'});
        QVERIFY(test::SolidImage(64, 48, qRgb(10, 10, 200)).save(QString::fromStdString(sea)));

        CCorvalin window;
        window.show();
        QString message;
        std::vector<std::string> namesWhenTold;
        test::ModalSteps steps({[&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            message = box->text();
            namesWhenTold = LibraryNames();
            box->accept();
        }});
        QMimeData mime;
        mime.setUrls(FileUrls({beach, notes, sea}));
        QVERIFY(Drop(window, mime));
        QTRY_COMPARE(steps.Answered(), 1);

        const std::vector<std::string> expected{"First.jpg", "Second.jpg", "Beach.jpg", "Sea.jpg"};
        QCOMPARE(namesWhenTold, expected);
        QVERIFY(message.contains("Notes.bmp: Invalid file!"));
        QVERIFY(!message.contains("Beach") && !message.contains("Sea"));
        QCOMPARE(window.Res()->PictureNames(), expected);
        QCOMPARE(App()->m_currentPicture, std::string("Sea.jpg"));
        QCOMPARE(window.Res()->geometry(), ToQRect(layout::kContentRect));
        QCOMPARE(window.Game()->size(), QSize(0, 0));
        QVERIFY(steps.Unexpected().isEmpty());
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
        QVERIFY(test::SolidImage(64, 48, qRgb(10, 200, 10)).save(QString::fromStdString(picture)));
        QMimeData mime;
        if (kind == "folder") mime.setUrls(FileUrls({picture, m_data.Path()}));
        if (kind == "remote")
            mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(picture)),
                          QUrl("https://example.org/Sea.jpg")});
        if (kind == "text") mime.setText(QString::fromStdString(picture));
        const auto before = ReadWholeFile(m_data.File("Pic.dat"));

        CCorvalin window;
        window.show();
        test::ModalSteps steps({});
        QVERIFY(!Drop(window, mime));
        QCoreApplication::processEvents();
        QCOMPARE(ReadWholeFile(m_data.File("Pic.dat")), before);
        QCOMPARE(window.Res()->size(), QSize(0, 0));
        QCOMPARE(steps.Answered(), 0);
    }
};

CORVALIN_APP_TEST_MAIN(PictureDropTest)
#include "PictureDropTest.moc"
