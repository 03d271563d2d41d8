#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <sys/types.h>

// Reaps children that had not ended yet when their runner let them go, so that none is
// left as a zombie. A child that outlives its grace period gets SIGKILL, sent to its
// process group (the group id stays reserved until the child is reaped).
class ProcessReaper : public QObject
{
    Q_OBJECT
public:
    static ProcessReaper &instance();

    void adopt(pid_t pid, int graceMs);
    int pendingCount() const { return int(m_children.size()); }

signals:
    void reaped(qint64 pid, int waitStatus);

private:
    ProcessReaper();
    void poll();

    struct Child {
        pid_t pid;
        QDeadlineTimer grace;
        bool killed;
    };
    QList<Child> m_children;
    QTimer m_timer;
};
