#pragma once

#include <sys/types.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

class QSocketNotifier;

// One game per data folder: the first game listens on a local socket named after the folder;
// a later start hands over to it (the running window comes to the front) and ends. A game
// that does not answer in time (hung, or a socket left by a crash) is taken as gone.
class SingleInstance : public QObject {
public:
    static constexpr std::chrono::milliseconds kAnswerTimeout{2000};

    // The socket name for a data folder: this user's id and a hash of the folder's canonical
    // path, short enough for any socket path limit.
    static QString ServerNameFor(const std::string& dataDirectory);

    // Where the socket of that name lies: in this user's private runtime folder
    // ($XDG_RUNTIME_DIR, else runtime-UID of mode 0700 in the temporary folder); "" when
    // that folder is not private, and the game then neither hands over nor listens.
    static QString SocketPath(const QString& name);

    // Asks the game listening on name to bring its window to the front. True when it
    // answered within timeout; false when none listens or it did not answer.
    static bool HandOver(const QString& name, std::chrono::milliseconds timeout = kAnswerTimeout);

    // Listens on name for later starts and brings window to the front for each; a socket
    // that is there already belongs to a game that did not answer and is replaced.
    // False when the name cannot be taken (the game then runs without it).
    bool Listen(const QString& name, QWidget* window);

    SingleInstance();
    ~SingleInstance() override;

private:
    void Accept();

    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    // The socket file, removed at the end while it is still ours and not a later game's.
    QByteArray m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QPointer<QWidget> m_window;
};
