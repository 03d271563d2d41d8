#pragma once

#include "batch/logtally.h"
#include "process/taskwrappercontroller.h"

#include <QList>
#include <QObject>
#include <functional>

class TaskWrapper;

// Runs commands of the command table on one root file, one after another, without a
// window: the same runner and command lines as the document window, the log handed to a
// writer line by line as it comes. Like the window's procedure it ends at the first
// command that leaves errors in the log or cannot be started, and at a stop.
class BatchRun : public QObject, public TaskWrapperController
{
    Q_OBJECT
public:
    using Writer = std::function<void(const QString &text)>;

    // commandIndexes count from 0; writer receives the log text.
    BatchRun(const QString &rootFilePath, const QList<int> &commandIndexes, Writer writer,
             QObject *parent = nullptr);
    ~BatchRun() override;

    // The command steps of the stored auto procedure; opening output files has no place
    // without a desktop, so open steps are left out.
    static QList<int> storedProcedure();

    void start();
    // The user's break: ends the running command's process group, as the Stop button does.
    void stop();
    // True once the run has ended with errors, a failed start or a stop.
    bool failed() const { return m_failed; }
    const LogTally::Counts &counts() const { return m_tally.counts(); }

    // TaskWrapperController
    void processStarted(const QStringList &arguments) override;
    void appendOutput(const QString &output) override;
    void processFinished(const QStringList &arguments) override;

signals:
    void finished();

private:
    void runNext();
    void releaseTask();

    QString m_basename;
    QString m_workingDir;
    QList<int> m_commandIndexes;
    qsizetype m_next = 0;
    Writer m_write;
    LogTally m_tally;
    TaskWrapper *m_task = nullptr; // a child of the run
    bool m_failed = false;
};
