#include "taskwrapper.h"

#include "childprocess.h"
#include "processreaper.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <optional>
#include <sys/wait.h>

namespace {
// Characters that ASCII cannot hold become '?', one per character (not per UTF-16 unit).
QByteArray toAscii(const QString &text)
{
    QByteArray out;
    for (char32_t c : text.toUcs4())
        out.append(c < 0x80 ? char(c) : '?');
    return out;
}
} // namespace

struct TaskWrapper::Private {
    enum class State { Created, Starting, Running, LaunchFailed, Stopping, Finished };

    explicit Private(quint32 encoding) : decoder(encoding) {}

    State state = State::Created;
    ChildProcess child;
    qint64 pid = -1;
    int exitStatus = -1;
    std::optional<int> waitStatus; // known when the child was reaped before the finish
    bool outputEnded = false;
    bool terminated = false; // the runner sent the group a signal
    bool killed = false;
    qsizetype written = 0;
    LogDecoder decoder;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    QByteArray gathered;      // output read but not yet handed on
    QElapsedTimer sinceReport; // invalid until the first report
    QTimer gatherTimer;
};

TaskWrapper::TaskWrapper(TaskWrapperController *controller, const QStringList &arguments,
                         const QString &workingDir, const QString &inputString, quint32 encoding,
                         QObject *parent)
    : QObject(parent), m_controller(controller), m_arguments(arguments), m_workingDir(workingDir),
      m_inputData(toAscii(inputString)), m_outputEncoding(encoding),
      d(std::make_unique<Private>(encoding))
{
    d->gatherTimer.setSingleShot(true);
    connect(&d->gatherTimer, &QTimer::timeout, this, &TaskWrapper::reportGathered);
}

TaskWrapper::~TaskWrapper()
{
    stopProcess();
    // Only when the runner is deleted from a report in the middle of its own stop.
    if (d->child.pid() > 0) {
        d->child.signalGroup(SIGKILL);
        ProcessReaper::instance().adopt(d->child.release(), 0);
    }
}

bool TaskWrapper::startProcess()
{
    if (d->state != Private::State::Created)
        return false;
    d->state = Private::State::Starting;
    QPointer<TaskWrapper> self(this);
    if (m_controller)
        m_controller->processStarted(QStringList(m_arguments));
    if (!self || d->state != Private::State::Starting)
        return false;

    if (d->child.spawn(m_arguments, m_workingDir) != 0) {
        d->state = Private::State::LaunchFailed;
        if (m_controller)
            m_controller->appendOutput(Text::format("LaunchError", {m_arguments.value(0)}));
        return false;
    }
    d->state = Private::State::Running;
    d->pid = d->child.pid();
    d->readNotifier = std::make_unique<QSocketNotifier>(d->child.outputFd(), QSocketNotifier::Read);
    connect(d->readNotifier.get(), &QSocketNotifier::activated, this, &TaskWrapper::readOutput);
    writeInput();
    return true;
}

void TaskWrapper::stopProcess()
{
    using State = Private::State;
    if (d->state == State::Stopping || d->state == State::Finished)
        return;
    const bool launched = d->state == State::Running;
    d->state = State::Stopping;
    d->readNotifier.reset();
    d->writeNotifier.reset();
    if (launched && !endOutput())
        return; // deleted by a report
    reportFinished();
}

bool TaskWrapper::isRunning() const
{
    if (d->pid <= 0 || d->exitStatus >= 0)
        return false;
    return !ChildProcess::peekExit(pid_t(d->pid), nullptr);
}

int TaskWrapper::terminationStatus() const
{
    int status = d->exitStatus;
    if (status < 0 && d->pid > 0)
        ChildProcess::peekExit(pid_t(d->pid), &status);
    return status;
}

qint64 TaskWrapper::processIdentifier() const
{
    return d->pid;
}

TaskWrapper::Ending TaskWrapper::ending() const
{
    using Kind = Ending::Kind;
    if (d->pid <= 0)
        return {Kind::NotStarted};
    if (d->terminated)
        return {Kind::EndedByStop};
    if (!d->waitStatus)
        return {};
    const int status = *d->waitStatus;
    if (WIFEXITED(status))
        return {Kind::Exited, WEXITSTATUS(status)};
    return {Kind::Signalled, WTERMSIG(status)};
}

// Ends the command's process group unless the output has ended with the child, hands on
// what is left of the output, and lets the child go. The signal comes first and every wait
// is bounded, so a stop returns in time even while the child floods its output. False if a
// report deleted us.
bool TaskWrapper::endOutput()
{
    if (!reportGathered())
        return false;
    // The output ends while the child exits, a moment before its exit can be seen.
    if (d->outputEnded)
        d->child.waitForExit(kExitWaitMs);
    if (!d->outputEnded || !d->child.hasExited()) {
        // The group, not just the child: programs it started may hold the pipe open.
        d->child.signalGroup(SIGTERM);
        d->terminated = true;
        if (!drainUntil(kTerminateGraceMs))
            return false;
        if (!d->outputEnded) {
            d->child.signalGroup(SIGKILL);
            d->killed = true;
            if (!drainUntil(kKillGraceMs))
                return false;
        }
    }
    releaseChild();
    return true;
}

// Reads until the output ends or the time runs out, so a stop can never hang.
bool TaskWrapper::drainUntil(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!d->outputEnded && !deadline.hasExpired()) {
        if (!d->child.waitForOutput(int(deadline.remainingTime())))
            break;
        QByteArray bytes;
        const ChildProcess::ReadStatus status = d->child.readOutput(bytes);
        if (status == ChildProcess::ReadStatus::End)
            d->outputEnded = true;
        else if (status == ChildProcess::ReadStatus::Data && !reportOutput(bytes))
            return false;
    }
    return true;
}

void TaskWrapper::releaseChild()
{
    d->child.closeOutput();
    d->child.closeInput();
    int waitStatus = 0;
    if (d->child.reap(&waitStatus)) {
        d->waitStatus = waitStatus;
        d->exitStatus = ChildProcess::statusFromWait(waitStatus);
        return;
    }
    if (d->child.pid() <= 0)
        return;
    const qint64 pid = d->child.release();
    ProcessReaper &reaper = ProcessReaper::instance();
    connect(&reaper, &ProcessReaper::reaped, this, [this, pid](qint64 reapedPid, int status) {
        if (reapedPid == pid)
            d->exitStatus = ChildProcess::statusFromWait(status);
    });
    reaper.adopt(pid_t(pid), d->killed ? 0 : kTerminateGraceMs);
}

void TaskWrapper::reportFinished()
{
    d->state = Private::State::Finished;
    TaskWrapperController *controller = std::exchange(m_controller, nullptr);
    if (controller)
        controller->processFinished(QStringList(m_arguments));
}

void TaskWrapper::readOutput()
{
    QByteArray bytes;
    switch (d->child.readOutput(bytes)) {
    case ChildProcess::ReadStatus::Data:
        d->gathered += bytes;
        if (d->gathered.size() >= kGatherBytes || !d->sinceReport.isValid() ||
            d->sinceReport.hasExpired(kGatherMs))
            reportGathered();
        else if (!d->gatherTimer.isActive())
            d->gatherTimer.start(int(kGatherMs - d->sinceReport.elapsed()));
        break;
    case ChildProcess::ReadStatus::WouldBlock:
        break;
    case ChildProcess::ReadStatus::End:
        d->outputEnded = true;
        stopProcess(); // hands on what was gathered first
        break;
    }
}

// Hands on the output gathered so far; false if the controller deleted the runner meanwhile.
bool TaskWrapper::reportGathered()
{
    d->gatherTimer.stop();
    d->sinceReport.start();
    if (d->gathered.isEmpty())
        return true;
    return reportOutput(std::exchange(d->gathered, QByteArray()));
}

// Sends a decoded chunk; false if the controller deleted the runner meanwhile.
bool TaskWrapper::reportOutput(const QByteArray &bytes)
{
    const QString text = d->decoder.decode(bytes);
    if (text.isEmpty() || !m_controller)
        return true;
    QPointer<TaskWrapper> self(this);
    m_controller->appendOutput(text);
    return !self.isNull();
}

// Writes what the pipe takes now and the rest whenever it can take more; the child's
// standard input stays open afterwards. Input the child no longer reads is dropped.
void TaskWrapper::writeInput()
{
    const qsizetype size = m_inputData.size();
    while (d->written < size) {
        const qsizetype n =
            d->child.writeInput(m_inputData.constData() + d->written, size - d->written);
        if (n == 0)
            break;
        d->written = n < 0 ? size : d->written + n;
    }
    const bool pending = d->written < size;
    if (pending && !d->writeNotifier) {
        d->writeNotifier =
            std::make_unique<QSocketNotifier>(d->child.inputFd(), QSocketNotifier::Write);
        connect(d->writeNotifier.get(), &QSocketNotifier::activated, this,
                &TaskWrapper::writeInput);
    }
    if (d->writeNotifier)
        d->writeNotifier->setEnabled(pending);
}
