#include "xdgopen.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {
constexpr int kPollMilliseconds = 200;

pid_t spawnDetached(const QByteArray &program, const QByteArray &file)
{
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
    // A session of its own: a viewer started from it outlives Quireon and its terminal.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(file.constData()),
                    nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, &attr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return pid;
}
} // namespace

bool XdgOpen::start(const QString &path, QObject *context, std::function<void()> failed)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        return false;
    const pid_t pid = spawnDetached(QFile::encodeName(program), QFile::encodeName(path));
    if (pid <= 0)
        return false;
    new XdgOpen(pid, context, std::move(failed));
    return true;
}

// Owned by the application: the child may outlive the document that asked for it.
XdgOpen::XdgOpen(pid_t pid, QObject *context, std::function<void()> failed)
    : QObject(QCoreApplication::instance()), m_pid(pid), m_context(context),
      m_failed(std::move(failed))
{
    m_pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (m_pidFd >= 0) {
        m_ended = new QSocketNotifier(m_pidFd, QSocketNotifier::Read, this);
        connect(m_ended, &QSocketNotifier::activated, this, &XdgOpen::check);
    } else {
        connect(&m_poll, &QTimer::timeout, this, &XdgOpen::check);
        m_poll.start(kPollMilliseconds);
    }
}

XdgOpen::~XdgOpen()
{
    if (m_pidFd >= 0)
        ::close(m_pidFd);
}

void XdgOpen::check()
{
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == 0)
        return;
    if (m_ended)
        m_ended->setEnabled(false);
    m_poll.stop();
    const bool failed = r == m_pid && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (failed && !m_answerTime.hasExpired() && m_context && m_failed)
        m_failed();
    deleteLater();
}
