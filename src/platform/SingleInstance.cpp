#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace korvex {

namespace {

QString userName() {
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QString::number(getuid()) : user;
}

QString runtimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

constexpr char kAck = '\x06';

} // namespace

SingleInstance::SingleInstance(const QString& scope, QObject* parent)
    : QObject(parent), m_serverName(QStringLiteral("korvex-%1-%2").arg(userName(), scope)),
      m_lock(runtimeFolder() + QStringLiteral("/korvex-%1-%2.lock").arg(userName(), scope)) {
    m_lock.setStaleLockTime(0); // a lock of a dead process is stale at once; a live one never
}

SingleInstance::~SingleInstance() = default;

QStringList SingleInstance::limitArguments(const QStringList& arguments) {
    QStringList out;
    for (const QString& a : arguments.mid(0, kMaxArguments))
        out << a.left(kMaxArgumentLength);
    return out;
}

SingleInstance::Role SingleInstance::start(const QStringList& arguments, int lockWaits,
                                           int waitMs) {
    for (int attempt = 0; attempt < lockWaits; ++attempt) {
        if (m_lock.tryLock(attempt == 0 ? 0 : waitMs)) {
            listen();
            return Role::First;
        }
        // The holder is alive: it is the running copy, or about to be.
        if (handOver(arguments, attempt == 0 ? 1000 : waitMs))
            return Role::HandedOver;
    }
    listen();
    return Role::Independent;
}

bool SingleInstance::handOver(const QStringList& arguments, int timeoutMs) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << limitArguments(arguments);
    {
        QDataStream header(&socket);
        header << quint32(block.size());
    }
    socket.write(block);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the running copy to confirm, so this process ends only once it has the request.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.read(1) == QByteArray(1, kAck);
}

bool SingleInstance::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!m_server->listen(m_serverName)) {
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->bytesAvailable() < 4)
                    return;
                quint32 size = 0;
                QDataStream peekStream(client->peek(4));
                peekStream >> size;
                if (size > 1u << 20) {
                    client->abort();
                    return;
                }
                if (client->bytesAvailable() < qint64(size) + 4)
                    return;
                client->read(4);
                QDataStream in(client->read(size));
                QStringList arguments;
                in >> arguments;
                client->write(&kAck, 1);
                client->flush();
                // The running copy handles the request from its event loop, never in the middle
                // of whatever it is doing now.
                QMetaObject::invokeMethod(
                    this, [this, arguments] { emit instanceStarted(limitArguments(arguments)); },
                    Qt::QueuedConnection);
            });
        }
    });
    return true;
}

} // namespace korvex
