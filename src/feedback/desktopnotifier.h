#pragma once

#include <QObject>
#include <QString>

// One document's notices on the desktop, through the freedesktop Notifications service on
// the session bus. Each notice replaces the document's previous one; its default action
// asks for the document. Calls never wait for the bus, and without a bus or a service
// nothing happens and nothing is printed.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void notify(const QString &summary, bool critical);

signals:
    void activated();

private slots:
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    bool listen();
    uint m_id = 0; // the notice on screen, 0 when none
    bool m_listening = false;
};
