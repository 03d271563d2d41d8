#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One Quireon per user session: a second launch hands its files to the running instance
// over a local socket and exits; the running instance opens them. Both ends make sure
// the other runs as the same user.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // serverName, the socket's path, defaults to one per display in the user's private
    // runtime folder (see RuntimeFolder); without such a folder there is none, and
    // handOver() and listen() fail.
    explicit SingleInstance(const QString &serverName = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Sends the files to a running instance. True when one took them: the caller exits.
    bool handOver(const QStringList &files);
    // Starts listening for later launches. False when the socket cannot be created or a
    // running instance owns it (then handOver() reaches that one).
    bool listen();

    static QString defaultServerName();

signals:
    void filesRequested(const QStringList &files);

private:
    bool isAnswered() const;
    bool connectToOwner(QLocalSocket &socket) const;
    void readRequest();

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
