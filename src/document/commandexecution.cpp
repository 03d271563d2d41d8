// Running one command of the command table: argument list, runner, the runner's reports
// and the judgement of the run.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "document/helpers/commandline.h"
#include "document/helpers/shellwords.h"
#include "feedback/runfeedback.h"
#include "follow/followedfiles.h"
#include "document/helpers/runending.h"
#include "process/taskwrapper.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QApplication>
#include <QTimer>

bool MyDocument::execCommandOfIndex(int index) {
    logFraction.clear();
    preparePageCheck(index);
    feedback->passStarted(index);
    if (!procRunning) {
        stepPlanner.ranAlone(gQuireonPrefs->cmdCmdAtIndex(index));
        followedFiles->writes().runStarted();
    }
    followedFiles->writes().stepStarted(gQuireonPrefs->cmdCmdAtIndex(index));
    const QStringList arguments =
        CommandLine::arguments(gQuireonPrefs->cmdCmdAtIndex(index), m_basename);
    releaseCommandTask();
    commandTask = new TaskWrapper(this, arguments, m_workingDir, gQuireonPrefs->taskInputString(),
                                  gQuireonPrefs->logEncoding(), this);
    if (commandTask->startProcess())
        return true;
    // A failed launch ends a procedure; the finish report that follows judges the run.
    procRunning = false;
    commandTask->stopProcess();
    releaseCommandTask();
    return false;
}

void MyDocument::preparePageCheck(int index) {
    pageCheck = false;
    if (!checkPages)
        return;
    if (const std::optional<PageShape> shape = PageReport::shapeOf(pageStrings.value(index))) {
        pageShape = *shape;
        pageCheck = true;
    }
}

// A runner may be replaced from inside its own finish report, so it is never deleted
// on the spot.
void MyDocument::releaseCommandTask() {
    if (commandTask)
        commandTask->deleteLater();
    commandTask = nullptr;
}

void MyDocument::processStarted(const QStringList &arguments) {
    if (!procRunning)
        prepareToRun(true);
    const QString commandText = arguments.join(QLatin1Char(' '));
    appendOutput(promptPrefix + ShellWords::joined(arguments) + QLatin1Char('\n'));
    ui->statusField->setText(Text::format("ExecutingStatus", {commandText}));
    delete floatingTimer;
    floatingTimer = nullptr;
    commandRunning = true;
    m_floatingTimerActive = true;
    validateMenus();
    floatWhileInBackground();
}

void MyDocument::appendOutput(const QString &output) {
    logFraction += output;
    appendLogLines();
}

void MyDocument::processFinished(const QStringList &arguments) {
    commandRunning = false;
    followedFiles->writes().stepEnded();
    appendUnfinishedLine();
    const bool toolFailed = !userBreak && commandTask && judgeToolEnding(*commandTask);
    const QString commandText = arguments.join(QLatin1Char(' '));
    if (numErrors > 0 || userBreak || toolFailed) {
        ui->statusField->setText(Text::format("ErrorStatus", {commandText}));
        procRunning = false;
    } else {
        ui->statusField->setText(Text::format("DoneStatus", {commandText}));
    }
    if (procRunning)
        execNextProcess();
    else
        resumeFromRun();
    // The strip stays grown while the next step of a procedure runs; the finish of the
    // last step arms the shrink.
    if (!commandRunning)
        armFloatingTimer();
}

// Whether the way the tool ended makes its run fail; such an ending gets a line of its
// own in the log.
bool MyDocument::judgeToolEnding(const TaskWrapper &task) {
    const TaskWrapper::Ending ending = task.ending();
    const QString line = RunEnding::failureLine(ending, task.arguments().value(0));
    if (!line.isEmpty())
        appendALogLine(promptPrefix + line);
    return RunEnding::failed(ending);
}

void MyDocument::armFloatingTimer() {
    delete floatingTimer;
    floatingTimer = new QTimer(this);
    floatingTimer->setSingleShot(true);
    floatingTimer->setInterval(
        std::chrono::milliseconds(qint64(gQuireonPrefs->logDisplayTime() * 1000.0)));
    connect(floatingTimer, &QTimer::timeout, this, &MyDocument::floatingProc);
    floatingTimer->start();
}

void MyDocument::clearLog()
{
    QFont font = QApplication::font();
    // The log's regular style: the system font at the smaller size used for dense text.
    font.setPointSizeF(std::max(7.0, font.pointSizeF() * 11.0 / 13.0));
    ui->logView->clear();
    feedback->logCleared();
    logBound.reset();
    ui->logView->setFont(font);
    ui->logView->document()->setDefaultFont(font);
}
