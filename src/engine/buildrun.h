#pragma once

#include "buildsettings.h"
#include "document/helpers/rootpaths.h"
#include "logreader.h"
#include "procedure/stepplanner.h"
#include "process/taskwrapper.h"
#include "process/taskwrappercontroller.h"

#include <QObject>
#include <memory>

class AutoPlanner;
class BuildMemory;
struct ToolStep;

// What a build is asked to do: the procedure, or one command of the command table.
struct BuildRequest {
    enum class Kind { Procedure, Command };
    Kind kind = Kind::Procedure;
    int command = 0;     // Command: its index, from 0
    QString changedPath; // Procedure: the file whose change started it, if any

    static BuildRequest procedure(const QString &changedPath = QString()) {
        return {Kind::Procedure, 0, changedPath};
    }
    static BuildRequest single(int command) { return {Kind::Command, command, {}}; }
};

// A command step of a build: run or left out, why, and how its tool ended.
struct BuildStep {
    int command = 0; // index in the command table, from 0; -1 for a step found by the build
    QString name;
    bool ran = false;
    QString reason; // the decision's log line without the prefix; empty when none was said
    QStringList arguments;
    TaskWrapper::Ending ending;
};

// Builds one root file: runs its procedure, or one command, with the settings it was given.
// It plans the steps (left out when they have nothing to do, engine passes added until the
// references settle, each decision told in the log), runs each command's tool, reads the
// log as it comes (lines, classes, counts, pages, places in the sources) and judges the
// run: it fails at the first command that leaves errors in the log, fails by its ending or
// cannot start, and at a stop. Whoever shows the build listens to its signals.
class BuildRun : public QObject, public TaskWrapperController {
    Q_OBJECT
public:
    // planner and memory remember earlier builds of the same root; they must outlive the build.
    BuildRun(const QString &rootFilePath, BuildSettings settings, BuildRequest request,
             StepPlanner &planner, BuildMemory &memory, QObject *parent = nullptr);
    ~BuildRun() override; // stops a running tool first

    // Starts the first step. False when the build ended at once (a command that could not
    // start); finished() has then been sent.
    bool start();
    // The user's break: ends the running tool's process group; the build ends as failed.
    void stop();

    // Lines of whoever shows the build (an output that could not be opened, say): read,
    // counted and judged as the build's own, newline included.
    void addLines(const QString &lines);
    // Prefix lists changed during the build: they apply to the lines still to come.
    void setLogRules(const LogRules &rules);

    bool started() const { return m_started; }
    bool isRunning() const { return m_running; }
    bool failed() const { return m_failed; }
    bool stopped() const { return m_userBreak; }
    const LogCounts &counts() const { return m_reader.counts(); }
    const QList<ProblemLine> &problems() const { return m_reader.problems(); }
    const QList<BuildStep> &steps() const { return m_steps; }

    // TaskWrapperController
    void processStarted(const QStringList &arguments) override;
    void appendOutput(const QString &output) override;
    void processFinished(const QStringList &arguments) override;

signals:
    // A command step is about to start its tool.
    void commandStarting(int index, const QString &commandLine);
    // Its tool has been asked to start; the log shows its command line.
    void commandStarted(const QStringList &arguments);
    // Lines of the log, the tools' and Quireon's own.
    void logLines(const LogChunk &chunk);
    // A command step's tool has ended; failed: the build ends with it.
    void commandEnded(const QStringList &arguments, bool failed);
    // An open step of the procedure: output file index, from 0.
    void openRequested(int index);
    // The build is over; sent once.
    void finished();

private:
    void say(const QString &line);
    bool runCommand(int index);
    bool launch(const QStringList &arguments, int pageIndex);
    void startAutomatic();
    void runAutomaticStep();
    void runEnginePass(const QString &reason);
    bool runTool(const ToolStep &tool);
    void sayLackingTools();
    void runNextSteps();
    bool repeatEnginePass();
    bool stepHasWork(int entry, int index);
    void noteStep(const StepDecision &decision, int index);
    bool judgeToolEnding(const TaskWrapper &task);
    void releaseTask();
    void end();

    BuildSettings m_settings;
    BuildRequest m_request;
    QString m_rootFilePath;
    RootPaths m_paths;
    StepPlanner &m_planner;
    BuildMemory &m_memory;
    std::unique_ptr<AutoPlanner> m_auto; // with automatic steps
    QString m_engineLine;                // with automatic steps: command 1, or the root's engine
    QString m_engineName;
    bool m_toolRunning = false;          // with automatic steps: the running command is a tool
    bool m_lackingSaid = false;
    LogReader m_reader;
    TaskWrapper *m_task = nullptr; // a child of the build
    QList<BuildStep> m_steps;
    QString m_pendingReason; // the note of the decision that runs the next command
    int m_nextEntry = 0;
    bool m_started = false;
    bool m_running = false;
    bool m_procedure = false; // steps of the procedure are still to come
    bool m_failed = false;
    bool m_userBreak = false;
};
