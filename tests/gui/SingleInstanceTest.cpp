// One game per data folder, with the second start run as a process: the game binary is linked
// into a folder of its own, whose game this test plays the part of.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstring>

#include "platform/SingleInstance.h"

namespace {

// Leaves a socket file that no one listens on, as a game killed while running does.
bool LeaveStaleSocket(const QString& name) {
    const QByteArray path = (QDir::tempPath() + "/" + name).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
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
        QLocalServer::removeServer(m_name);
        m_folder.reset();
    }

    void NamesDependOnTheFolderAndFitASocketPath() {
        const QString other = SingleInstance::ServerNameFor("/some/other/folder/");
        QVERIFY(other != m_name);
        QCOMPARE(SingleInstance::ServerNameFor(m_folder->path().toStdString() + "/./"), m_name);
        QVERIFY((QDir::tempPath() + "/" + m_name).toLocal8Bit().size() < 100);
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
        QTRY_VERIFY(window.isActiveWindow());
    }

    void AGameThatDoesNotAnswerIsTakenAsGone_data() {
        QTest::addColumn<bool>("hung");
        QTest::newRow("hung: listening, never answering") << true;
        QTest::newRow("stale socket of a crashed game") << false;
    }

    void AGameThatDoesNotAnswerIsTakenAsGone() {
        QFETCH(bool, hung);
        QLocalServer silent;  // accepts connections but never reads them
        if (hung)
            QVERIFY(silent.listen(m_name));
        else
            QVERIFY(LeaveStaleSocket(m_name));

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
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
