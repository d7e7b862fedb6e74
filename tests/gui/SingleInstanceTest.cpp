// One game per data folder, with the second start run as a process: the game binary is linked
// into a folder of its own, whose game this test plays the part of.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/SingleInstance.h"
#include "support/qt/TestMain.h"

namespace {

constexpr QFile::Permissions kGroupAndOthers{QFile::ReadGroup | QFile::WriteGroup |
                                             QFile::ExeGroup | QFile::ReadOther |
                                             QFile::WriteOther | QFile::ExeOther};

// A socket bound to name's path that never accepts, listening or not; -1 when it cannot be made.
int SilentSocket(const QString& name, bool listening) {
    const QByteArray path = QFile::encodeName(SingleInstance::SocketPath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (listening && ::listen(fd, 1) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<QByteArray> Variable(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
}

void Restore(const char* name, const std::optional<QByteArray>& value) {
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_folder;
    QString m_name;

    QString GameInFolder() const { return m_folder->filePath("corvalin"); }

    void StartGame(QProcess& game) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        game.setProcessEnvironment(environment);
        game.start(GameInFolder(), {});
        QVERIFY(game.waitForStarted());
    }

private slots:
    void init() {
        m_folder.emplace();
        QVERIFY(::link(CORVALIN_GAME_PATH, GameInFolder().toLocal8Bit().constData()) == 0);
        m_name = SingleInstance::ServerNameFor(m_folder->path().toStdString() + "/");
    }

    void cleanup() {
        QFile::remove(SingleInstance::SocketPath(m_name));
        m_folder.reset();
    }

    void NamesDependOnTheFolderAndFitASocketPath() {
        const QString other = SingleInstance::ServerNameFor("/some/other/folder/");
        QVERIFY(other != m_name);
        QCOMPARE(SingleInstance::ServerNameFor(m_folder->path().toStdString() + "/./"), m_name);
        QVERIFY(SingleInstance::SocketPath(m_name).toLocal8Bit().size() < 100);
    }

    void ASecondStartBringsTheRunningGameForwardAndEndsWithStatusZero() {
        QWidget window;
        QWidget elsewhere;
        window.show();
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_VERIFY(elsewhere.isActiveWindow());
        SingleInstance running;
        QVERIFY(running.Listen(m_name, &window));

        QProcess second;
        StartGame(second);
        // The running game answers from its event loop, so wait without blocking it.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(),
                 "Corvalin is already running; its window has been brought to the front.\n");
        QTRY_VERIFY(window.isActiveWindow());
    }

    void HelpAndVersionAnswerOnStdoutWithoutADisplay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("answerStart");
        QTest::newRow("--help") << "--help" << QByteArray("Usage: corvalin [--help | --version]\n");
        QTest::newRow("--version") << "--version" << QByteArray("corvalin 1.");
    }

    void HelpAndVersionAnswerOnStdoutWithoutADisplay() {
        QFETCH(QString, option);
        QFETCH(QByteArray, answerStart);
        // A start that reached the window system would fail here for want of a display.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        QProcess game;
        game.setProcessEnvironment(environment);
        game.start(GameInFolder(), {option});
        QVERIFY(game.waitForFinished(20000));
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);
        QVERIFY2(game.readAllStandardOutput().startsWith(answerStart), qPrintable(option));
    }

    void AGameThatDoesNotAnswerIsTakenAsGone_data() {
        QTest::addColumn<bool>("hung");
        QTest::newRow("hung: listening, never answering") << true;
        QTest::newRow("stale socket of a crashed game") << false;
    }

    void AGameThatDoesNotAnswerIsTakenAsGone() {
        QFETCH(bool, hung);
        const int silent = SilentSocket(m_name, hung);
        QVERIFY(silent >= 0);
        if (!hung) ::close(silent);  // what a game killed while running leaves

        QProcess game;
        StartGame(game);
        // It starts normally and takes the name over: a third start now reaches it.
        bool answered = false;
        for (int attempt = 0; attempt < 100 && !answered; ++attempt) {
            QVERIFY(game.state() == QProcess::Running);
            answered = SingleInstance::HandOver(m_name);
            if (!answered) QTest::qWait(100);
        }
        QVERIFY(answered);
        QCOMPARE(game.state(), QProcess::Running);
        game.kill();
        game.waitForFinished();
        if (hung) ::close(silent);
    }

    void TheSocketIsThePlayersAloneAndGoesWithTheGameThatOwnsIt() {
        QWidget window;
        const QString path = SingleInstance::SocketPath(m_name);
        auto first = std::make_unique<SingleInstance>();
        QVERIFY(first->Listen(m_name, &window));
        const QFileInfo folder(QFileInfo(path).path());
        QCOMPARE(folder.ownerId(), ::getuid());
        QCOMPARE(folder.permissions() & kGroupAndOthers, QFile::Permissions());
        QCOMPARE(QFileInfo(path).permissions() & kGroupAndOthers, QFile::Permissions());

        // A game taken as hung ends after the one that replaced it: the later one's socket stays.
        auto second = std::make_unique<SingleInstance>();
        QVERIFY(second->Listen(m_name, &window));
        first.reset();
        QVERIFY(QFileInfo::exists(path));
        second.reset();
        QVERIFY(!QFileInfo::exists(path));
    }

    void ARuntimeFolderOthersCanEnterIsNotUsed() {
        const std::optional<QByteArray> runtime = Variable("XDG_RUNTIME_DIR");
        const std::optional<QByteArray> temporary = Variable("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(m_folder->path()));
        const QString open = m_folder->filePath(QStringLiteral("runtime-%1").arg(::getuid()));
        QVERIFY(QDir().mkdir(open));
        QFile::setPermissions(open, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadOther | QFile::ExeOther);
        QWidget window;
        SingleInstance instance;
        const bool listening = instance.Listen(m_name, &window);
        Restore("XDG_RUNTIME_DIR", runtime);
        Restore("TMPDIR", temporary);
        QVERIFY(!listening);
        QVERIFY(QDir(open).isEmpty());
    }
};

CORVALIN_QT_TEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
