#include "singleinstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace {
constexpr int kTimeoutMs = 3000;
// A request is the list of absolute paths serialised with QDataStream (so any byte a file
// name may hold survives) after its length; the running instance answers "ok" once it
// has taken them.
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

QByteArray encodeRequest(const QStringList &files)
{
    QByteArray body;
    QDataStream bodyStream(&body, QIODevice::WriteOnly);
    bodyStream << files;
    QByteArray request;
    QDataStream requestStream(&request, QIODevice::WriteOnly);
    requestStream << quint32(body.size());
    return request + body;
}

// The paths once the whole request has arrived.
std::optional<QStringList> decodeRequest(const QByteArray &data)
{
    if (data.size() < 4)
        return std::nullopt;
    quint32 size = 0;
    QDataStream sizeStream(data.left(4));
    sizeStream >> size;
    if (quint32(data.size() - 4) < size)
        return std::nullopt;
    QStringList files;
    QDataStream bodyStream(data.mid(4, size));
    bodyStream >> files;
    return files;
}
} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent), m_serverName(serverName.isEmpty() ? defaultServerName() : serverName)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_');
    return QStringLiteral("quireon-%1-%2").arg(getuid()).arg(display);
}

bool SingleInstance::handOver(const QStringList &files)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(encodeRequest(files));
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    while (socket.bytesAvailable() < kAnswer.size())
        if (!socket.waitForReadyRead(kTimeoutMs))
            return false;
    return socket.readAll().startsWith(kAnswer);
}

bool SingleInstance::listen()
{
    // Qt's listen() puts its socket in place of any file of that name, a live Quireon's
    // too. So the name is claimed under a lock, and only when nobody answers on it (a
    // socket left by a crash is no owner); a launch that finds an owner hands over to it.
    QLockFile claim(QDir::temp().filePath(m_serverName + QStringLiteral(".lock")));
    claim.tryLock(kTimeoutMs);
    if (isAnswered())
        return false;
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequest);
    return true;
}

bool SingleInstance::isAnswered() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    return socket.waitForConnected(kTimeoutMs);
}

void SingleInstance::readRequest()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const std::optional<QStringList> files = decodeRequest(socket->peek(socket->bytesAvailable()));
            if (!files)
                return;
            socket->readAll();
            socket->write(kAnswer);
            socket->flush();
            emit filesRequested(*files);
        });
    }
}
