#pragma once

#include "taskwrappercontroller.h"

#include <QObject>
#include <QPointer>
#include <memory>

// Runs one external command as a child process and reports to its controller.
// The launch path is used unchanged (no PATH search, no shell); standard output and
// standard error are joined into one pipe; the input text is written to a standard input
// that stays open; the end of the run is the end of the output. One runner, one command.
class TaskWrapper : public QObject
{
    Q_OBJECT
public:
    TaskWrapper(TaskWrapperController *controller, const QStringList &arguments,
                const QString &workingDir, const QString &inputString, quint32 encoding,
                QObject *parent = nullptr);
    ~TaskWrapper() override; // stopProcess() first

    bool startProcess();
    void stopProcess();
    bool isRunning() const;
    // The exit code, or the number of the signal that ended the child; -1 while unknown.
    int terminationStatus() const;
    // The child's process id, which is also its process group id; -1 before a launch.
    qint64 processIdentifier() const;

    // How the child ended, as far as it is known once the finish has been reported.
    struct Ending {
        enum class Kind {
            Unknown,     // still unknown: the child outlived its output and was let go
            NotStarted,  // never launched
            Exited,      // value: the exit status
            Signalled,   // value: the signal that ended it
            EndedByStop, // the runner ended it: a stop, or a child still running after its output
        };
        Kind kind = Kind::Unknown;
        int value = -1;
    };
    Ending ending() const;
    const QStringList &arguments() const { return m_arguments; }

    // How long a stop waits for the output to end after SIGTERM, and then after SIGKILL.
    static constexpr int kTerminateGraceMs = 2000;
    static constexpr int kKillGraceMs = 500;
    // How long the end of the output waits for the child's exit to become visible.
    static constexpr int kExitWaitMs = 100;
    // Output that arrives in small pieces is handed on at most this often, unless this
    // many bytes have gathered: a flood of short writes costs the log one update per
    // interval instead of one per write.
    static constexpr int kGatherMs = 8;
    static constexpr qsizetype kGatherBytes = 64 * 1024;

private:
    void readOutput();
    void writeInput();
    bool reportOutput(const QByteArray &bytes);
    bool reportGathered();
    bool drainUntil(int timeoutMs);
    bool endOutput();
    void releaseChild();
    void reportFinished();

    struct Private;
    TaskWrapperController *m_controller;
    QStringList m_arguments;
    QString m_workingDir;
    QByteArray m_inputData;
    quint32 m_outputEncoding;
    std::unique_ptr<Private> d;
};
