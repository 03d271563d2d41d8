#include "childprocess.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// A child that has gone away must not kill the application through SIGPIPE when input
// is written to it; the child gets the default action back (see SpawnSetup).
void ignoreSigpipeOnce()
{
    static const bool done = [] { return ::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
    Q_UNUSED(done);
}

int setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0 ? errno : 0;
}

struct Pipe {
    int ends[2] = {-1, -1};
    int open() { return ::pipe2(ends, O_CLOEXEC) == 0 ? 0 : errno; }
    ~Pipe()
    {
        closeFd(ends[0]);
        closeFd(ends[1]);
    }
    int take(int index)
    {
        const int fd = ends[index];
        ends[index] = -1;
        return fd;
    }
};

// The spawn attributes and file actions, released on every path out.
class SpawnSetup
{
public:
    SpawnSetup()
    {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }

    int prepare(int stdinFd, int outputFd, const QByteArray &workingDir)
    {
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGTERM, SIGINT, SIGQUIT, SIGHUP, SIGCHLD})
            sigaddset(&defaults, sig);
        // A group of its own, so that a stop reaches whatever the command starts.
        const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (int err = posix_spawnattr_setflags(&attr, flags))
            return err;
        if (int err = posix_spawnattr_setpgroup(&attr, 0))
            return err;
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        for (auto [from, to] : {std::pair{stdinFd, 0}, {outputFd, 1}, {outputFd, 2}})
            if (int err = posix_spawn_file_actions_adddup2(&actions, from, to))
                return err;
        if (!workingDir.isEmpty())
            return posix_spawn_file_actions_addchdir_np(&actions, workingDir.constData());
        return 0;
    }

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
};
} // namespace

ChildProcess::~ChildProcess()
{
    closeInput();
    closeOutput();
}

int ChildProcess::spawn(const QStringList &arguments, const QString &workingDir)
{
    ignoreSigpipeOnce();
    std::vector<QByteArray> encoded;
    for (const QString &argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    if (encoded.empty() || encoded.front().isEmpty())
        return ENOENT;
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    Pipe input, output;
    if (int err = input.open())
        return err;
    if (int err = output.open())
        return err;
    SpawnSetup setup;
    if (int err = setup.prepare(input.ends[0], output.ends[1], QFile::encodeName(workingDir)))
        return err;
    if (int err = setNonBlocking(input.ends[1]))
        return err;
    if (int err = setNonBlocking(output.ends[0]))
        return err;
    pid_t pid = -1;
    if (int err = posix_spawn(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ))
        return err;
    m_pid = pid;
    m_inputFd = input.take(1);
    m_outputFd = output.take(0);
    return 0;
}

ChildProcess::ReadStatus ChildProcess::readOutput(QByteArray &buffer)
{
    if (m_outputFd < 0)
        return ReadStatus::End;
    char block[65536];
    ssize_t n;
    do
        n = ::read(m_outputFd, block, sizeof block);
    while (n < 0 && errno == EINTR);
    if (n > 0) {
        buffer.append(block, n);
        return ReadStatus::Data;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return ReadStatus::WouldBlock;
    return ReadStatus::End;
}

bool ChildProcess::waitForOutput(int timeoutMs) const
{
    pollfd p{m_outputFd, POLLIN, 0};
    int n;
    do
        n = ::poll(&p, 1, timeoutMs);
    while (n < 0 && errno == EINTR);
    return n != 0;
}

bool ChildProcess::waitForExit(int timeoutMs) const
{
    if (hasExited())
        return true;
    // A pidfd becomes readable when the process ends; without one, just look once more.
    const int fd = int(::syscall(SYS_pidfd_open, m_pid, 0));
    if (fd < 0)
        return hasExited();
    pollfd p{fd, POLLIN, 0};
    int n;
    do
        n = ::poll(&p, 1, timeoutMs);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    return n > 0;
}

qsizetype ChildProcess::writeInput(const char *data, qsizetype size)
{
    if (m_inputFd < 0)
        return -1;
    ssize_t n;
    do
        n = ::write(m_inputFd, data, size_t(size));
    while (n < 0 && errno == EINTR);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

void ChildProcess::closeOutput()
{
    closeFd(m_outputFd);
}

void ChildProcess::closeInput()
{
    closeFd(m_inputFd);
}

void ChildProcess::signalGroup(int signal) const
{
    if (m_pid > 0)
        ::kill(-m_pid, signal);
}

bool ChildProcess::peekExit(pid_t pid, int *status)
{
    if (pid <= 0)
        return true;
    siginfo_t info{};
    if (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return true;
    if (info.si_pid == 0)
        return false;
    if (status)
        *status = info.si_status;
    return true;
}

int ChildProcess::statusFromWait(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    return WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : -1;
}

bool ChildProcess::reap(int *waitStatus)
{
    if (m_pid <= 0)
        return false;
    pid_t r;
    do
        r = ::waitpid(m_pid, waitStatus, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    m_pid = -1;
    return r > 0;
}

pid_t ChildProcess::release()
{
    const pid_t pid = m_pid;
    m_pid = -1;
    return pid;
}
