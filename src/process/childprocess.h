#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sys/types.h>

// A child process started without a shell in a process group of its own, with a pipe to
// its standard input and one pipe for its standard output and standard error together.
// The parent's pipe ends are non-blocking and close-on-exec. The destructor closes the
// pipe ends but leaves the process alone: reaping it is the owner's job.
class ChildProcess
{
public:
    enum class ReadStatus { Data, WouldBlock, End };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Element 0 is the program's path, used as it is (no search along PATH); an empty
    // working folder leaves the current one. Answers 0 or the errno of the failure,
    // including a failed exec.
    int spawn(const QStringList &arguments, const QString &workingDir);

    pid_t pid() const { return m_pid; }
    int outputFd() const { return m_outputFd; }
    int inputFd() const { return m_inputFd; }

    // Appends what one read gives to `buffer`.
    ReadStatus readOutput(QByteArray &buffer);
    // Waits up to `timeoutMs` for output or its end; false when the time ran out.
    bool waitForOutput(int timeoutMs) const;
    // Writes what fits without blocking; answers the bytes written, or -1 when the
    // child's standard input is gone.
    qsizetype writeInput(const char *data, qsizetype size);
    void closeOutput();
    void closeInput();

    // Sends `signal` to the child's whole process group.
    void signalGroup(int signal) const;
    // Waits up to `timeoutMs` for the child to end, without reaping it; false when the
    // time ran out.
    bool waitForExit(int timeoutMs) const;
    // Whether the child has ended, without reaping it, so that its process group id stays
    // reserved for signalGroup().
    bool hasExited() const { return peekExit(m_pid, nullptr); }
    // Whether `pid` has ended (or is not our child any more), without reaping it; stores
    // its exit code, or the signal that ended it, when known.
    static bool peekExit(pid_t pid, int *status);
    // The exit code, or the number of the signal that ended the process.
    static int statusFromWait(int waitStatus);
    // Reaps the child if it has ended: answers true and stores the wait status.
    bool reap(int *waitStatus);
    // Gives up the pid, for example to hand it to the reaper.
    pid_t release();

private:
    pid_t m_pid = -1;
    int m_inputFd = -1;
    int m_outputFd = -1;
};
