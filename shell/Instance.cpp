#include "shell/Instance.h"

#include "shell/HandOverMessage.h"
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
// What the channel reads of a start at a time, and what Qt may hold of it unread.
constexpr std::size_t READ_CHUNK = std::size_t{64} << 10;

// 16 hex digits of a hash of text.
QString ShortHash(const std::string& text) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(16));
}

std::string LockPath(const std::string& place, const std::string& folder) {
    return place + "morvane-" + ShortHash(folder).toStdString() + ".lock";
}

// How one exchange with the program at the channel ended.
enum class TExchange { Taken, Refused, TryAgain };

// Connects to the channel, hands message over and waits for the answer, until deadline.
TExchange Exchange(const TChannelName& channel, const std::string& message,
                   const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    if (channel.abstract) {
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    }
    socket.connectToServer(channel.name);
    if (!socket.waitForConnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
        return TExchange::TryAgain;
    }
    if (!PeerIsThisUser(socket.socketDescriptor())) {
        return TExchange::Refused;
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
    // Taken only when the first program says so: a message cut short or turned away adds nothing.
    if (!waitUntil([&] { return socket.bytesToWrite() == 0; },
                   [&](int ms) { return socket.waitForBytesWritten(ms); }) ||
        !waitUntil([&] { return socket.bytesAvailable() > 0; },
                   [&](int ms) { return socket.waitForReadyRead(ms); })) {
        return TExchange::TryAgain;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == TAKEN ? TExchange::Taken : TExchange::TryAgain;
}

}  // namespace

TChannelName InstanceName(const std::string& place, const std::string& folder) {
    const QString path = FromName(place) + QStringLiteral("morvane-") + ShortHash(folder);
    if (const std::optional<std::string> abstract =
            AbstractChannelName(ToName(path), ShortHash(place + '\0' + folder).toStdString())) {
        return {QString::fromStdString(*abstract), true};
    }
    return {path, false};
}

bool HandOver(const TChannelName& channel, const std::vector<std::string>& paths, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    for (const std::string& message : HandOverMessages(paths)) {
        // The first program may be between taking the lock and listening, or busy reading other
        // starts: try again until it takes the message.
        for (;;) {
            const TExchange exchange = Exchange(channel, message, deadline);
            if (exchange == TExchange::Refused) {
                return false;
            }
            if (exchange == TExchange::Taken) {
                break;
            }
            if (deadline.hasExpired()) {
                return false;
            }
            QThread::msleep(RETRY_MS);
        }
    }
    return true;
}

TInstanceServer::TInstanceServer(std::function<void(const std::vector<std::string>&)> opened)
    : m_opened(std::move(opened)) {
    connect(&m_server, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

bool TInstanceServer::Listen(const TChannelName& channel) {
    if (channel.abstract) {
        m_server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    } else {
        QLocalServer::removeServer(channel.name);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
    }
    // Held until the listening instances of the pipe exist, which keep its name from then on.
    TChannelClaim claim;
    return claim.Claim(channel.name.toStdString()) && m_server.listen(channel.name);
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        // Each start that is read holds a descriptor and up to a message's bytes: beyond a few at
        // once, a start is turned away (and tries again), as is one of another user.
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
    // Qt reads no further ahead of what is taken below than this.
    socket->setReadBufferSize(static_cast<qint64>(READ_CHUNK));
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
        // No further than the message's head says it goes: a start that sends more gets no room
        // for it, and one that declares more than a message may hold is refused at its head.
        THandOverReading message = ReadHandOver(reading->bytes);
        while (message.state == THandOverReading::TState::Partial && socket->bytesAvailable() > 0) {
            const QByteArray bytes =
                socket->read(static_cast<qint64>(std::min(message.missing, READ_CHUNK)));
            reading->bytes.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            message = ReadHandOver(reading->bytes);
        }
        if (message.state == THandOverReading::TState::Whole && socket->bytesAvailable() > 0) {
            message.state = THandOverReading::TState::Damaged;  // bytes after the message
        }
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
    const TChannelName channel = InstanceName(*place, folder);
    switch (m_lock.Take(LockPath(*place, folder))) {
        case TSessionLock::TResult::Failed:
            return TStartKind::Alone;
        case TSessionLock::TResult::Held:
            return HandOver(channel, paths, waitMs) ? TStartKind::HandedOver : TStartKind::NoAnswer;
        case TSessionLock::TResult::Taken:
            break;
    }
    m_server = std::make_unique<TInstanceServer>(std::move(opened));
    if (!m_server->Listen(channel)) {
        m_server.reset();
        m_lock.Release();
        return TStartKind::NoChannel;
    }
    return TStartKind::First;
}
