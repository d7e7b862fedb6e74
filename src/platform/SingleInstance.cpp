#include "platform/SingleInstance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include "core/io/Descriptor.h"

namespace {

const QByteArray kActivate = "activate\n";
const QByteArray kActivated = "activated\n";
// A listener whose backlog is full refuses at once instead of queueing: try again this often.
constexpr std::chrono::milliseconds kConnectRetry{10};

int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

// The address of a socket file, or none when path does not fit in one.
std::optional<sockaddr_un> AddressOf(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return address;
}

const sockaddr* Generic(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

// Waits until fd is ready for events; false when the deadline passes first.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

bool SendAll(int fd, const QByteArray& bytes) {
    return ::send(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL) ==
           bytes.size();
}

// $XDG_RUNTIME_DIR, else a folder of this user's alone in the temporary folder, made when
// missing; "" when the one there is not a folder of mode 0700 that this user owns.
QString RuntimeFolder() {
    const QString given = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (given.startsWith('/')) return given;
    const QString folder = QDir::tempPath() + QStringLiteral("/runtime-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), S_IRWXU);
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid() || (status.st_mode & 07777) != S_IRWXU)
        return {};
    return folder;
}

void BringForward(QWidget* window) {
    if (window == nullptr) return;
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

// One later start's connection: answered once when its request line is whole, then closed.
class Connection : public QObject {
public:
    Connection(int fd, QPointer<QWidget> window, QObject* parent)
        : QObject(parent),
          m_socket(fd),
          m_notifier(fd, QSocketNotifier::Read),
          m_window(std::move(window)) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::Read);
    }

private:
    void Read() {
        std::array<char, 64> buffer{};
        const ssize_t count = ::recv(m_socket.Get(), buffer.data(), buffer.size(), 0);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (count > 0) {
            m_received.append(buffer.data(), count);
            const qsizetype end = m_received.indexOf('\n');
            // Waits for the rest of a line that may still be ours.
            if (end < 0 && m_received.size() < kActivate.size()) return;
            if (m_received.left(end + 1) == kActivate) {
                BringForward(m_window);
                SendAll(m_socket.Get(), kActivated);
            }
        }
        m_notifier.setEnabled(false);
        deleteLater();
    }

    Descriptor m_socket;
    QSocketNotifier m_notifier;
    QPointer<QWidget> m_window;
    QByteArray m_received;
};

}  // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() {
    if (m_listener < 0) return;
    m_notifier.reset();
    ::close(m_listener);
    struct stat status {};
    if (::lstat(m_path.constData(), &status) == 0 && status.st_dev == m_device &&
        status.st_ino == m_inode)
        ::unlink(m_path.constData());
}

QString SingleInstance::ServerNameFor(const std::string& dataDirectory) {
    const QString folder = QString::fromLocal8Bit(dataDirectory);
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QFileInfo(folder).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toLocal8Bit(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("corvalin-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(24)));
}

QString SingleInstance::SocketPath(const QString& name) {
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + '/' + name;
}

bool SingleInstance::HandOver(const QString& name, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    const std::optional<sockaddr_un> address = AddressOf(QFile::encodeName(SocketPath(name)));
    if (!address) return false;
    const Descriptor socket(NewSocket());
    if (socket.Get() < 0) return false;
    while (::connect(socket.Get(), Generic(*address), sizeof *address) != 0) {
        if (errno != EAGAIN || deadline.hasExpired()) return false;
        std::this_thread::sleep_for(kConnectRetry);
    }
    if (!SendAll(socket.Get(), kActivate)) return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() < kActivated.size()) {
        if (!WaitFor(socket.Get(), POLLIN, deadline)) return false;
        std::array<char, 16> buffer{};
        const ssize_t count = ::recv(socket.Get(), buffer.data(), buffer.size(), 0);
        if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) return false;
        if (count > 0) answer.append(buffer.data(), count);
    }
    return answer == kActivated;
}

bool SingleInstance::Listen(const QString& name, QWidget* window) {
    m_window = window;
    const QByteArray path = QFile::encodeName(SocketPath(name));
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address) return false;
    Descriptor listener(NewSocket());
    if (listener.Get() < 0) return false;
    if (::bind(listener.Get(), Generic(*address), sizeof *address) != 0) {
        // Left by a game that did not answer when this one started: take its place.
        if (errno != EADDRINUSE) return false;
        ::unlink(path.constData());
        if (::bind(listener.Get(), Generic(*address), sizeof *address) != 0) return false;
    }
    struct stat status {};
    if (::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 ||
        ::listen(listener.Get(), SOMAXCONN) != 0 || ::lstat(path.constData(), &status) != 0) {
        ::unlink(path.constData());
        return false;
    }
    m_path = path;
    m_device = status.st_dev;
    m_inode = status.st_ino;
    m_listener = listener.Release();
    m_notifier = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SingleInstance::Accept);
    return true;
}

void SingleInstance::Accept() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;  // none waiting any more
        new Connection(fd, m_window, this);
    }
}
