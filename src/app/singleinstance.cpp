#include "singleinstance.h"

#include "runtimefolder.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <sys/socket.h>
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

// Whether the other end of a connected socket runs as this user: files go to nobody else,
// and nobody else's requests are taken. Checked on the socket itself, as the folder
// alone does not keep out a process that got in by other means.
bool peerIsThisUser(const QLocalSocket &socket, const QString &serverName)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    if (peer.uid == ::getuid())
        return true;
    qWarning("Quireon: ignoring a process of user %u on the socket %s.", unsigned(peer.uid),
             qPrintable(serverName));
    return false;
}
} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent), m_serverName(serverName.isEmpty() ? defaultServerName() : serverName)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    QString problem;
    const QString folder = RuntimeFolder::path(problem);
    if (folder.isEmpty()) {
        qWarning("Quireon: no private folder for the socket that passes files to a running "
                 "Quireon (%s); every launch opens a window of its own.", qPrintable(problem));
        return {};
    }
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_');
    return folder + QStringLiteral("/quireon-") + display;
}

bool SingleInstance::handOver(const QStringList &files)
{
    QLocalSocket socket;
    if (!connectToOwner(socket))
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
    if (m_serverName.isEmpty())
        return false;
    QLockFile claim(m_serverName + QStringLiteral(".lock"));
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
    return connectToOwner(socket);
}

// Connects to a Quireon of this user listening on the name. A socket of another user
// counts as no owner, so a launch opens its own window rather than hand it the files.
bool SingleInstance::connectToOwner(QLocalSocket &socket) const
{
    if (m_serverName.isEmpty())
        return false;
    socket.connectToServer(m_serverName);
    return socket.waitForConnected(kTimeoutMs) && peerIsThisUser(socket, m_serverName);
}

void SingleInstance::readRequest()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(*socket, m_serverName)) {
            socket->deleteLater(); // which closes the connection unanswered
            continue;
        }
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
