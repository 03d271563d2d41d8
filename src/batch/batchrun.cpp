#include "batchrun.h"

#include "document/helpers/commandline.h"
#include "document/helpers/rootpaths.h"
#include "document/helpers/runending.h"
#include "document/helpers/shellwords.h"
#include "process/taskwrapper.h"
#include "settings/quireonprefs.h"

namespace {
constexpr int kProcedureSteps = 8;
// Quireon's own lines in the log begin with this, as in the document window.
const QString kPromptPrefix = QStringLiteral("Quireon> ");
} // namespace

BatchRun::BatchRun(const QString &rootFilePath, const QList<int> &commandIndexes, Writer writer,
                   QObject *parent)
    : QObject(parent), m_commandIndexes(commandIndexes), m_write(std::move(writer))
{
    const RootPaths paths = RootPaths::derive(rootFilePath);
    m_basename = paths.basename;
    m_workingDir = paths.workingDir;
}

BatchRun::~BatchRun()
{
    if (m_task)
        m_task->stopProcess();
}

QList<int> BatchRun::storedProcedure()
{
    QList<int> commands;
    for (int step = 0; step < kProcedureSteps; ++step) {
        const int code = gQuireonPrefs->procedureAtIndex(step);
        if (code == 0)
            break;
        if (code > 0)
            commands << code - 1;
    }
    return commands;
}

void BatchRun::start()
{
    runNext();
}

void BatchRun::stop()
{
    m_failed = true;
    if (m_task)
        m_task->stopProcess(); // its finish report ends the run
}

// Always reached from the event loop, so a finish report never nests the next start.
void BatchRun::runNext()
{
    if (m_failed || m_next >= m_commandIndexes.size()) {
        emit finished();
        return;
    }
    const int index = m_commandIndexes[m_next++];
    m_tally.beginCommand(index);
    const QStringList arguments =
        CommandLine::arguments(gQuireonPrefs->cmdCmdAtIndex(index), m_basename);
    m_task = new TaskWrapper(this, arguments, m_workingDir, gQuireonPrefs->taskInputString(),
                             gQuireonPrefs->logEncoding(), this);
    if (!m_task->startProcess()) {
        m_failed = true;
        m_task->stopProcess();
    }
}

void BatchRun::processStarted(const QStringList &arguments)
{
    m_write(kPromptPrefix + ShellWords::joined(arguments) + QLatin1Char('\n'));
}

void BatchRun::appendOutput(const QString &output)
{
    if (const QString lines = m_tally.takeLines(output); !lines.isEmpty())
        m_write(lines);
}

void BatchRun::processFinished(const QStringList &)
{
    if (const QString rest = m_tally.finishLines(); !rest.isEmpty())
        m_write(rest);
    if (m_tally.counts().errors > 0)
        m_failed = true;
    // A tool that exits with a failure status or dies by a signal has failed, whatever
    // its log reads; a stop has already marked the run.
    const TaskWrapper::Ending ending = m_task ? m_task->ending() : TaskWrapper::Ending{};
    if (const QString line = RunEnding::failureLine(ending, m_task ? m_task->arguments().value(0) : QString());
        !line.isEmpty())
        m_write(kPromptPrefix + line);
    if (RunEnding::failed(ending))
        m_failed = true;
    releaseTask();
    QMetaObject::invokeMethod(this, &BatchRun::runNext, Qt::QueuedConnection);
}

// A runner may be replaced from inside its own finish report, so it is never deleted
// on the spot.
void BatchRun::releaseTask()
{
    if (m_task)
        m_task->deleteLater();
    m_task = nullptr;
}
