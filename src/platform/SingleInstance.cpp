#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

const QByteArray kActivate = "activate\n";
const QByteArray kActivated = "activated\n";

}  // namespace

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerNameFor(const std::string& dataDirectory) {
    const QString folder = QString::fromLocal8Bit(dataDirectory);
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QFileInfo(folder).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toLocal8Bit(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("corvalin-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(24)));
}

bool SingleInstance::HandOver(const QString& name, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
        answer += socket.readAll();
    }
    return answer == kActivated;
}

bool SingleInstance::Listen(const QString& name, QWidget* window) {
    m_window = window;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        QLocalServer::removeServer(name);
        if (!m_server->listen(name)) return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::Answer);
    return true;
}

void SingleInstance::Answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() != kActivate) {
                socket->disconnectFromServer();
                return;
            }
            if (m_window != nullptr) {
                if (m_window->isMinimized()) m_window->showNormal();
                m_window->show();
                m_window->raise();
                m_window->activateWindow();
            }
            socket->write(kActivated);
            socket->flush();
        });
    }
}
