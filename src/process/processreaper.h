#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
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
    // SIGKILL, now, to the group of every child still waiting to be reaped.
    void killAll();
    // The way out, once the event loop has ended: waits until every child is reaped, still
    // killing those that outlive their grace; when `hurry` answers true the rest are killed
    // at once. It gives up a moment after the last grace ends, so a child that cannot be
    // reaped never holds Quireon up. True when none is left.
    bool finishAll(const std::function<bool()> &hurry);

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
