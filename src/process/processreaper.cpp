#include "processreaper.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {
constexpr int kPollIntervalMs = 50;
}

ProcessReaper &ProcessReaper::instance()
{
    static ProcessReaper reaper;
    return reaper;
}

ProcessReaper::ProcessReaper()
{
    m_timer.setInterval(kPollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ProcessReaper::poll);
}

void ProcessReaper::adopt(pid_t pid, int graceMs)
{
    if (pid <= 0)
        return;
    m_children.append({pid, QDeadlineTimer(graceMs), false});
    if (!m_timer.isActive())
        m_timer.start();
}

void ProcessReaper::poll()
{
    for (qsizetype i = m_children.size() - 1; i >= 0; --i) {
        Child &child = m_children[i];
        int status = 0;
        const pid_t r = ::waitpid(child.pid, &status, WNOHANG);
        if (r == child.pid || (r < 0 && errno == ECHILD)) {
            const pid_t pid = child.pid;
            m_children.removeAt(i);
            if (r == pid)
                emit reaped(pid, status);
            continue;
        }
        if (!child.killed && child.grace.hasExpired()) {
            ::kill(-child.pid, SIGKILL);
            child.killed = true;
        }
    }
    if (m_children.isEmpty())
        m_timer.stop();
}
