#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "core/package/ImagePackage.h"

namespace {

constexpr QRgb kDesktop = 0xff20a040;
const QSize kWindowSize(634, 373);
constexpr int kCornerBox = 7;  // the corner ellipse's radius, rounded up, and one more

// weston's own desktop, with no panel, so everything not of the desktop's colour is the game.
const char kWestonIni[] =
    "[core]\nidle-time=0\n[shell]\npanel-position=none\n"
    "background-color=0xff20a040\n";

QRect NotDesktop(const QImage& shot) {
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != kDesktop) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

// The game on a headless Wayland desktop, seen through the compositor's own screenshot.
class WaylandCornersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_runtime.isValid());
        QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
        QFile ini(m_runtime.filePath("weston.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(kWestonIni);
        ini.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        env.insert("WAYLAND_DISPLAY", "corvalin-test");
        env.remove("DISPLAY");
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.start("weston", {"--backend=headless-backend.so", "--socket=corvalin-test",
                                  "--width=1024", "--height=768", "--use-pixman", "--idle-time=0",
                                  "--debug", "--config=" + m_runtime.filePath("weston.ini")});
        QVERIFY2(m_weston.waitForStarted(), qPrintable(m_weston.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_runtime.filePath("corvalin-test")), 10000);

        env.insert("QT_QPA_PLATFORM", "wayland");
        m_game.setProcessEnvironment(env);
        m_game.setProcessChannelMode(QProcess::MergedChannels);
        m_game.start(CORVALIN_PROGRAM, {});
        QVERIFY2(m_game.waitForStarted(), qPrintable(m_game.errorString()));
        m_env = env;
    }

    void cleanupTestCase() {
        for (QProcess* process : {&m_game, &m_weston}) {
            process->terminate();
            if (!process->waitForFinished(5000)) process->kill();
            process->waitForFinished();
        }
    }

    void theDesktopShowsThroughTheCornersAndTheWindowAlongItsEdges() {
        ImagePackage skin;
        QVERIFY(skin.Load(CORVALIN_SKIN_PATH));
        const std::vector<std::uint8_t>* bytes = skin.FindData("CorvalinBg.jpg");
        QVERIFY(bytes != nullptr);
        const QImage background =
            QImage::fromData(bytes->data(), static_cast<int>(bytes->size()), "JPG");
        QCOMPARE(background.size(), kWindowSize);

        const std::optional<QImage> shot = ShotWithTheWindow();
        QVERIFY2(shot, qPrintable("no window of 634 x 373 appeared; weston and the game said:\n" +
                                  m_weston.readAll() + m_game.readAll()));
        const QRect box = NotDesktop(*shot);
        const auto at = [&](int x, int y) { return shot->pixel(box.topLeft() + QPoint(x, y)); };

        for (QPoint corner : {QPoint(0, 0), QPoint(633, 0), QPoint(0, 372), QPoint(633, 372)})
            QCOMPARE(at(corner.x(), corner.y()), kDesktop);
        // Away from the corners the edges show the window's own background, pixel for pixel.
        for (int x = kCornerBox; x < kWindowSize.width() - kCornerBox; ++x) {
            QCOMPARE(at(x, 0), background.pixel(x, 0));
            QCOMPARE(at(x, 372), background.pixel(x, 372));
        }
        for (int y = kCornerBox; y < kWindowSize.height() - kCornerBox; ++y) {
            QCOMPARE(at(0, y), background.pixel(0, y));
            QCOMPARE(at(633, y), background.pixel(633, y));
        }
        // Along each curve some pixels are a blend of the two: the edge is smooth.
        for (QPoint origin : {QPoint(0, 0), QPoint(627, 0), QPoint(0, 366), QPoint(627, 366)}) {
            int blended = 0;
            for (int y = 0; y < kCornerBox; ++y) {
                for (int x = 0; x < kCornerBox; ++x) {
                    const QPoint p = origin + QPoint(x, y);
                    const QRgb seen = at(p.x(), p.y());
                    if (seen != kDesktop && seen != background.pixel(p)) ++blended;
                }
            }
            QVERIFY2(blended >= 3, qPrintable(QString("corner at %1,%2 has %3 blended pixels")
                                                  .arg(origin.x())
                                                  .arg(origin.y())
                                                  .arg(blended)));
        }
    }

private:
    // weston-screenshooter writes the whole desktop into its working folder; shots are taken
    // until the game's window is on them.
    std::optional<QImage> ShotWithTheWindow() {
        QDir folder(m_runtime.filePath("shots"));
        folder.mkpath(".");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            QProcess shooter;
            shooter.setProcessEnvironment(m_env);
            shooter.setWorkingDirectory(folder.path());
            shooter.start("weston-screenshooter", {});
            shooter.waitForFinished(10000);
            for (const QString& name : folder.entryList({"*.png"})) {
                const QImage shot(folder.filePath(name));
                folder.remove(name);
                if (NotDesktop(shot).size() == kWindowSize)
                    return shot.convertToFormat(QImage::Format_RGB32);
            }
            QTest::qWait(200);
        }
        return std::nullopt;
    }

    QTemporaryDir m_runtime;
    QProcessEnvironment m_env;
    QProcess m_weston;
    QProcess m_game;
};

QTEST_MAIN(WaylandCornersTest)
#include "WaylandCornersTest.moc"
