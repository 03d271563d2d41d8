#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One Quireon per user session: a second launch hands its files to the running instance
// over a local socket and exits; the running instance opens them.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // serverName defaults to one per user and display.
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
    void readRequest();

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
