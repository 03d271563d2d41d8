#include "processreaper.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace {
constexpr int kPollIntervalMs = 50;
// How often the way out looks, and how long after SIGKILL it still waits for the reaping.
constexpr int kFinishStepMs = 10;
constexpr int kReapAfterKillMs = 1000;
} // namespace

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

void ProcessReaper::killAll()
{
    for (Child &child : m_children) {
        ::kill(-child.pid, SIGKILL);
        child.killed = true;
    }
}

bool ProcessReaper::finishAll(const std::function<bool()> &hurry)
{
    QDeadlineTimer deadline(kReapAfterKillMs);
    for (const Child &child : std::as_const(m_children))
        deadline = std::max(deadline, child.grace + kReapAfterKillMs);
    while (!m_children.isEmpty() && !deadline.hasExpired()) {
        if (hurry && hurry())
            killAll();
        poll();
        if (!m_children.isEmpty())
            std::this_thread::sleep_for(std::chrono::milliseconds(kFinishStepMs));
    }
    return m_children.isEmpty();
}
