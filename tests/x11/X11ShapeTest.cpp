#include <xcb/xcb.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kScale = 2;
const QSize kWindowSize(634 * kScale, 373 * kScale);
const QSize kScreenSize(1600, 1000);
constexpr QRgb kRoot = 0xff000000;  // Xvfb's black root window (-br)

QRect NotRoot(const QImage& shot) {
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            if ((line[x] | 0xff000000) != kRoot) box |= QRect(x, y, 1, 1);
    }
    return box;
}

}  // namespace

// The game on a private X server without a compositor, scaled by 2: its window is cut to the
// rounded rectangle in device pixels, so the whole window shows with its corners cut, as the
// server itself draws it.
class X11ShapeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        // A copy of its own with its data beside it, so no other run of the game is disturbed.
        const QString program = m_folder.filePath("corvalin");
        QVERIFY(QFile::copy(CORVALIN_PROGRAM, program));
        for (const char* name : {"Skin.dat", "Skin@2x.dat", "Pic.dat"})
            QVERIFY(QFile::copy(QDir(CORVALIN_DATA_DIR).filePath(name), m_folder.filePath(name)));

        m_server.start(
            "Xvfb",
            {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-br", "-screen", "0",
             QStringLiteral("%1x%2x24").arg(kScreenSize.width()).arg(kScreenSize.height())});
        QVERIFY2(m_server.waitForStarted(), qPrintable(m_server.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(m_server.canReadLine(), 10000);
        m_display = ":" + QString::fromLatin1(m_server.readLine()).trimmed();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QT_SCALE_FACTOR", QString::number(kScale));
        env.remove("WAYLAND_DISPLAY");
        m_game.setProcessEnvironment(env);
        m_game.setProcessChannelMode(QProcess::MergedChannels);
        m_game.start(program, {});
        QVERIFY2(m_game.waitForStarted(), qPrintable(m_game.errorString()));

        m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
        QVERIFY(xcb_connection_has_error(m_connection) == 0);
    }

    void cleanupTestCase() {
        if (m_connection != nullptr) xcb_disconnect(m_connection);
        for (QProcess* process : {&m_game, &m_server}) {
            process->terminate();
            if (!process->waitForFinished(5000)) process->kill();
            process->waitForFinished();
        }
    }

    void theWholeWindowShowsWithItsCornersCut() {
        QImage shot;
        QRect box;
        QElapsedTimer clock;
        clock.start();
        // Shots until the window is whole; a cut in logical pixels would show its top-left
        // quarter only, however long one waits.
        while (clock.elapsed() < 15000) {
            shot = Screen();
            QVERIFY(!shot.isNull());
            box = NotRoot(shot);
            if (box.size() == kWindowSize) break;
            QTest::qWait(200);
        }
        QVERIFY2(box.size() == kWindowSize,
                 qPrintable(QStringLiteral("%1 x %2 shown; the game said: ")
                                .arg(box.width())
                                .arg(box.height()) +
                            m_game.readAll()));
        // Each corner is cut as deep as the ellipse's radius at the scale, and no deeper.
        for (const QPoint& corner :
             {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
            QCOMPARE(shot.pixel(corner), kRoot);
        }
        const QPoint centre = box.center();
        for (const QPoint& edge : {QPoint(centre.x(), box.top()), QPoint(centre.x(), box.bottom()),
                                   QPoint(box.left(), centre.y()), QPoint(box.right(), centre.y()),
                                   box.bottomRight() - QPoint(6 * kScale, 6 * kScale)}) {
            QVERIFY(shot.pixel(edge) != kRoot);
        }
    }

private:
    // The root window as the server shows it.
    QImage Screen() const {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(
                m_connection,
                xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                              screen->width_in_pixels, screen->height_in_pixels, ~0u),
                nullptr),
            &std::free);
        if (!reply || reply->depth != 24) return {};
        const QImage view(xcb_get_image_data(reply.get()), screen->width_in_pixels,
                          screen->height_in_pixels, QImage::Format_RGB32);
        return view.copy();
    }

    QTemporaryDir m_folder;
    QProcess m_server;
    QProcess m_game;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
};

QTEST_GUILESS_MAIN(X11ShapeTest)
#include "X11ShapeTest.moc"
