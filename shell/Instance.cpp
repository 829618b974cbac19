#include "shell/Instance.h"

#include "shell/HandOver.h"
#include "shell/QtText.h"
#include "shell/Session.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// The byte the first program sends back once it has taken a message whole.
constexpr char TAKEN = '\x06';
constexpr int RETRY_MS = 50;

}  // namespace

QString InstanceName(const std::string& place, const std::string& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(folder), QCryptographicHash::Sha256);
    return FromName(place) + QStringLiteral("morvane-") +
           QString::fromLatin1(hash.toHex().left(16));
}

bool HandOver(const QString& name, const std::vector<std::string>& paths, int waitMs) {
    const std::string message = HandOverMessage(paths);
    const QDeadlineTimer deadline(waitMs);
    QLocalSocket socket;
    // The first program may be between taking the lock and listening: try again until it listens.
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(RETRY_MS);
    }
    if (!PeerIsThisUser(socket.socketDescriptor())) {
        return false;
    }
    socket.write(message.data(), static_cast<qint64>(message.size()));
    // Qt's waits on a Windows pipe may answer false when the pipe has done what was waited for
    // already: what the socket holds decides, and only the deadline or the end of the connection
    // ends a wait.
    const auto waitUntil = [&](const auto& done, const auto& wait) {
        while (!done()) {
            if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState) {
                return done();
            }
            if (!wait(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
                QThread::msleep(1);
            }
        }
        return true;
    };
    if (!waitUntil([&] { return socket.bytesToWrite() == 0; },
                   [&](int ms) { return socket.waitForBytesWritten(ms); })) {
        return false;
    }
    // Taken only when the first program says so: a message cut short or refused adds nothing.
    if (!waitUntil([&] { return socket.bytesAvailable() > 0; },
                   [&](int ms) { return socket.waitForReadyRead(ms); })) {
        return false;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == TAKEN;
}

TInstanceServer::TInstanceServer(std::function<void(const std::vector<std::string>&)> opened)
    : m_opened(std::move(opened)) {
    connect(&m_server, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

bool TInstanceServer::Listen(const QString& name) {
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(name);
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        // Each start that is read holds a descriptor: beyond a few at once, a start is turned
        // away, as is one of another user.
        if (m_waiting >= MAX_WAITING || !PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_waiting;
        Read(socket);
    }
}

void TInstanceServer::Read(QLocalSocket* socket) {
    struct TReading {
        std::string bytes;
        bool done = false;
    };
    const auto reading = std::make_shared<TReading>();
    // Ends the reading once: the answer, when the message was whole, goes out before the end.
    const auto end = [this, socket, reading](bool taken) {
        if (reading->done) {
            return;
        }
        reading->done = true;
        --m_waiting;
        if (taken) {
            socket->write(&TAKEN, 1);
            socket->flush();
            socket->disconnectFromServer();
        } else {
            socket->abort();
        }
        socket->deleteLater();
    };
    const auto take = [this, socket, reading, end] {
        const QByteArray bytes = socket->readAll();
        reading->bytes.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const THandOverReading message = ReadHandOver(reading->bytes);
        if (message.state == THandOverReading::TState::Whole) {
            end(true);
            m_opened(message.paths);
        } else if (message.state == THandOverReading::TState::Damaged) {
            end(false);
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, [reading, take] {
        if (!reading->done) {
            take();
        }
    });
    connect(socket, &QLocalSocket::disconnected, this, [reading, take, end] {
        if (!reading->done) {
            take();
            end(false);
        }
    });
    QTimer::singleShot(READ_MS, socket, [end] { end(false); });
    if (socket->bytesAvailable() > 0) {
        take();
    }
}

TStartKind TInstance::Start(const std::optional<std::string>& place, const std::string& folder,
                            const std::vector<std::string>& paths,
                            std::function<void(const std::vector<std::string>&)> opened,
                            int waitMs) {
    if (!place) {
        return TStartKind::Alone;
    }
    const QString name = InstanceName(*place, folder);
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // The lock goes with its program: one left by a program that ended is taken over, however old.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() != QLockFile::LockFailedError) {
            return TStartKind::Alone;
        }
        return HandOver(name, paths, waitMs) ? TStartKind::HandedOver : TStartKind::NoAnswer;
    }
    m_server = std::make_unique<TInstanceServer>(std::move(opened));
    if (!m_server->Listen(name)) {
        m_server.reset();
        return TStartKind::Alone;
    }
    return TStartKind::First;
}
