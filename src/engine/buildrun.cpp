#include "buildrun.h"

#include "document/helpers/commandline.h"
#include "document/helpers/runending.h"
#include "document/helpers/shellwords.h"
#include "autoplanner.h"
#include "autosteps.h"
#include "follow/projectinputs.h"
#include "follow/runbase.h"
#include "magiccomment.h"
#include "procedure/stepkind.h"
#include "settings/localizedtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

BuildRun::BuildRun(const QString &rootFilePath, BuildSettings settings, BuildRequest request,
                   StepPlanner &planner, BuildMemory &memory, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_request(std::move(request)),
      m_rootFilePath(rootFilePath), m_paths(RootPaths::derive(rootFilePath)), m_planner(planner), m_memory(memory),
      m_reader(m_settings.logRules, m_paths.workingDir) {}

// A build that goes away stops its tool without telling anyone: its listeners may be
// going away too.
BuildRun::~BuildRun() {
    blockSignals(true);
    m_procedure = false;
    if (m_task)
        m_task->stopProcess();
}

bool BuildRun::start() {
    m_started = m_running = true;
    if (m_request.kind == BuildRequest::Kind::Command) {
        m_planner.ranAlone(m_settings.commandLine(m_request.command));
        runCommand(m_request.command);
        return m_running;
    }
    if (!m_request.changedPath.isEmpty())
        say(Text::format("FileChangedLog", {shownName(m_request.changedPath, m_paths.workingDir)}));
    if (m_settings.automaticSteps) {
        startAutomatic();
        return m_running;
    }
    m_procedure = true;
    m_planner.begin(m_paths.basePath, m_settings.procedure, m_settings.commandLines,
                    m_settings.onlyStepsWithWork);
    runNextSteps();
    return m_running;
}

void BuildRun::stop() {
    if (!m_running)
        return;
    m_procedure = false;
    m_userBreak = true;
    m_failed = true;
    if (m_task) {
        m_task->stopProcess(); // its finish report ends the build
        releaseTask();
    } else {
        end();
    }
}

void BuildRun::addLines(const QString &lines) {
    emit logLines(m_reader.ownLines(lines));
}

void BuildRun::setLogRules(const LogRules &rules) {
    m_settings.logRules = rules;
    m_reader.setRules(rules);
}

void BuildRun::say(const QString &line) {
    emit logLines(m_reader.ownLines(LineClassifier::promptPrefix + line + QLatin1Char('\n')));
}

// False when the tool could not start; the build has then ended.
bool BuildRun::runCommand(int index) {
    m_steps.append({index, m_settings.commandName(index), true, std::exchange(m_pendingReason, QString()), {}, {}});
    const QString commandLine = m_settings.commandLine(index);
    emit commandStarting(index, commandLine);
    return launch(CommandLine::arguments(commandLine, m_paths.basename), index);
}

// pageIndex: the command whose page string reads the page count; -1 for none.
bool BuildRun::launch(const QStringList &arguments, int pageIndex) {
    m_reader.beginCommand(pageIndex);
    releaseTask();
    m_task = new TaskWrapper(this, arguments, m_paths.workingDir, m_settings.taskInput, m_settings.logEncoding, this);
    if (m_task->startProcess())
        return true;
    // The finish report that follows judges the launch failure and ends the build.
    m_procedure = false;
    if (m_task)
        m_task->stopProcess();
    releaseTask();
    return false;
}

// Runs open steps at once and stops at the first command step it starts; that command's
// finish report calls this again for the steps after it.
void BuildRun::runNextSteps() {
    bool commandStep = m_procedure && repeatEnginePass();
    while (m_procedure && m_nextEntry < m_settings.procedure.size() && !commandStep) {
        const int code = m_settings.procedure.value(m_nextEntry++);
        if (code == 0)
            break;
        if (code > 0) {
            if (!stepHasWork(m_nextEntry - 1, code - 1))
                continue;
            commandStep = true;
            m_procedure = runCommand(code - 1);
        } else {
            // A failed open is reported by whoever opens and does not end the procedure.
            emit openRequested(-code - 1);
        }
    }
    // An empty step, the end of the list or a stop during an open step ends it too.
    if (!commandStep)
        m_procedure = false;
    if (!m_procedure)
        end();
}

bool BuildRun::stepHasWork(int entry, int index) {
    const StepDecision decision = m_planner.decide(entry);
    noteStep(decision, index);
    return decision.run;
}

// Called once the step before has ended well.
bool BuildRun::repeatEnginePass() {
    const StepDecision decision = m_planner.afterStep();
    noteStep(decision, m_planner.repeatCommand());
    if (!decision.run)
        return false;
    m_procedure = runCommand(m_planner.repeatCommand());
    return true;
}

// The decision's line goes into the log; a step left out with a reason is kept as such.
void BuildRun::noteStep(const StepDecision &decision, int index) {
    const QString note = stepNote(decision, m_settings.commandName(index));
    if (note.isEmpty())
        return;
    say(note);
    if (decision.run)
        m_pendingReason = note;
    else
        m_steps.append({index, m_settings.commandName(index), false, note, {}, {}});
}

void BuildRun::processStarted(const QStringList &arguments) {
    if (!m_steps.isEmpty())
        m_steps.last().arguments = arguments;
    say(ShellWords::joined(arguments));
    emit commandStarted(arguments);
}

void BuildRun::appendOutput(const QString &output) {
    if (const LogChunk chunk = m_reader.take(output); !chunk.isEmpty())
        emit logLines(chunk);
}

void BuildRun::processFinished(const QStringList &arguments) {
    if (const LogChunk rest = m_reader.finish(); !rest.isEmpty())
        emit logLines(rest);
    const bool toolFailed = !m_userBreak && m_task && judgeToolEnding(*m_task);
    if (m_auto && std::exchange(m_toolRunning, false))
        m_auto->toolEnded(!toolFailed && !m_userBreak);
    if (m_task && !m_steps.isEmpty())
        m_steps.last().ending = m_task->ending();
    if (counts().errors > 0 || m_userBreak || toolFailed) {
        m_failed = true;
        m_procedure = false;
    }
    emit commandEnded(arguments, m_failed);
    if (m_auto && !m_failed)
        runAutomaticStep();
    else if (m_procedure) {
        if (!m_steps.isEmpty() && stepKindOf(m_settings.commandLine(m_steps.last().command)) == StepKind::Engine)
            sayLackingTools();
        runNextSteps();
    }
    else
        end();
}

// Whether the way the tool ended makes the build fail; such an ending gets a line of its
// own in the log.
bool BuildRun::judgeToolEnding(const TaskWrapper &task) {
    const TaskWrapper::Ending ending = task.ending();
    // BibTeX ends with status 1 after warnings alone (an empty field, say); a step the
    // build found needed does not fail for them.
    if (m_toolRunning && QFileInfo(task.arguments().value(0)).fileName().startsWith(QLatin1String("bibtex")) &&
        ending.kind == TaskWrapper::Ending::Kind::Exited && ending.value == 1)
        return false;
    if (const QString line = RunEnding::failureLine(ending, task.arguments().value(0)); !line.isEmpty())
        emit logLines(m_reader.ownLines(LineClassifier::promptPrefix + line));
    return RunEnding::failed(ending);
}

// A runner may be replaced from inside its own finish report, so it is never deleted
// on the spot.
void BuildRun::releaseTask() {
    if (m_task)
        m_task->deleteLater();
    m_task = nullptr;
}

void BuildRun::end() {
    if (!std::exchange(m_running, false))
        return;
    emit finished();
}

// The steps the document needs: the engine (command 1, or the one the root names), then
// after each pass the tools it showed are needed, and passes until the references settle.
void BuildRun::startAutomatic() {
    const QString program = engineProgramOf(m_rootFilePath);
    m_engineLine = withEngineProgram(m_settings.commandLine(0), program);
    const QString base = QDir(m_paths.workingDir).relativeFilePath(RunBase::of(m_rootFilePath, m_engineLine));
    m_engineName = program.isEmpty() ? m_settings.commandName(0) : program;
    m_auto = std::make_unique<AutoPlanner>(m_paths.workingDir, base, m_engineName, m_memory);
    runEnginePass(QString());
}

void BuildRun::runEnginePass(const QString &reason) {
    m_auto->passStarting();
    m_steps.append({0, m_engineName, true, reason, {}, {}});
    emit commandStarting(0, m_engineLine);
    launch(CommandLine::arguments(m_engineLine, m_paths.basename), 0);
}

// Called once the step before has ended well.
void BuildRun::runAutomaticStep() {
    const AutoPlanner::Step step = m_auto->next();
    for (const QString &note : step.notes)
        say(note);
    const QString reason = step.notes.isEmpty() ? QString() : step.notes.last();
    if (step.kind == AutoPlanner::Step::Kind::Engine) {
        runEnginePass(reason);
    } else if (step.kind == AutoPlanner::Step::Kind::Tool) {
        m_steps.append({-1, step.tool.name, true, reason, {}, {}});
        runTool(step.tool);
    } else {
        end();
    }
}

// A tool of the list runs by the name its program has on the PATH; one that is missing
// fails the build with the package that holds it.
bool BuildRun::runTool(const ToolStep &tool) {
    QStringList arguments = tool.arguments;
    const QString program = QStandardPaths::findExecutable(arguments.first());
    if (program.isEmpty()) {
        addLines(Text::format("AutoToolMissing", {arguments.first(), AutoSteps::debianPackageOf(arguments.first())}) +
                 QLatin1Char('\n'));
        m_failed = true;
        end();
        return false;
    }
    arguments.first() = program;
    m_toolRunning = true;
    emit commandStarting(-1, arguments.join(QLatin1Char(' ')));
    return launch(arguments, -1);
}

// With the user's own steps, the tools the document needs that no step runs are named once.
void BuildRun::sayLackingTools() {
    if (std::exchange(m_lackingSaid, true))
        return;
    QStringList programs;
    for (const int code : std::as_const(m_settings.procedure))
        if (code > 0)
            programs << QFileInfo(m_settings.commandLine(code - 1).section(QLatin1Char(' '), 0, 0)).fileName();
    const QString base = QDir(m_paths.workingDir).relativeFilePath(RunBase::of(m_rootFilePath, m_settings.commandLine(0)));
    QFile log(QDir(m_paths.workingDir).filePath(base + QLatin1String(".log")));
    const QByteArray text = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    for (const ToolStep &tool : AutoSteps::needed(m_paths.workingDir, base, text))
        if (!programs.contains(tool.arguments.first()))
            say(Text::format("AutoToolLacking", {tool.name, tool.key.section(QLatin1Char(':'), 1)}));
}
