#include "shell/Instance.h"

#include "shell/Platform.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QList>
#include <QLocalSocket>

namespace {
constexpr int WAIT_MS = 2000;
}

QString InstanceName(const std::string& folder) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromStdString(folder + SessionTag()), QCryptographicHash::Sha256);
    return QStringLiteral("morvane-") + QString::fromLatin1(hash.toHex().left(16));
}

bool HandOver(const QString& name, const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(WAIT_MS)) {
        return false;
    }
    QList<QByteArray> list;
    for (const std::string& path : paths) {
        list.append(QByteArray::fromStdString(path));
    }
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << list;
    socket.write(message);
    socket.flush();
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(WAIT_MS);
}

TInstanceServer::TInstanceServer(const QString& name,
                                 std::function<void(const std::vector<std::string>&)> opened)
    : m_opened(std::move(opened)) {
    // A program that runs answers on the name; it is not taken from it (a listen with access
    // options would replace its socket). A name that nobody answers was left behind by a program
    // that ended without closing it.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(WAIT_MS)) {
        return;
    }
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(name);
    connect(&m_server, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        // The whole message is there once the other start has hung up.
        const auto read = [this, socket] {
            QList<QByteArray> list;
            QDataStream stream(socket->readAll());
            stream >> list;
            socket->deleteLater();
            if (stream.status() != QDataStream::Ok) {
                return;
            }
            std::vector<std::string> paths;
            for (const QByteArray& path : list) {
                paths.push_back(path.toStdString());
            }
            m_opened(paths);
        };
        if (socket->state() == QLocalSocket::UnconnectedState) {
            read();
        } else {
            connect(socket, &QLocalSocket::disconnected, this, read);
        }
    }
}
