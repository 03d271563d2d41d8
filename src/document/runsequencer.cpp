// The auto procedure: its steps one after another, the running and idle looks of the
// window, stopping a run, and auto mode's switch.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "feedback/runfeedback.h"
#include "follow/followedfiles.h"
#include "follow/projectinputs.h"
#include "process/taskwrapper.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QFileInfo>

void MyDocument::prepareToRun(bool clear) {
    if (clear) {
        clearLog();
        clearCounters();
    }
    ui->buttonStartStop->setText(Text::localized("Stop"));
    ui->progressIndicator->show();
    enableButtons(false);
    userBreak = false;
}

void MyDocument::resumeFromRun() {
    ui->buttonStartStop->setText(Text::localized("Run"));
    ui->progressIndicator->hide();
    enableButtons(true);
    validateMenus();
    const QString changes =
        feedback->runEnded({QFileInfo(m_rootFilePath).fileName(), numErrors, numWarnings,
                            ui->textNumPages->text().toInt(), userBreak});
    if (!changes.isEmpty())
        appendALogLine(promptPrefix + changes + QLatin1Char('\n'));
    learnInputs(true);
}

void MyDocument::startStopSequence() {
    if (isRunning())
        stopRun();
    else
        startAutoProcedure();
}

// The user's break: the runner ends the child's process group, hands on the rest of its
// output and reports the finish, which shows the error status and the idle look.
void MyDocument::stopRun() {
    procRunning = false;
    userBreak = true;
    if (commandTask) {
        commandTask->stopProcess();
        releaseCommandTask();
    } else {
        // Between two steps there is no finish report to bring the idle look back.
        resumeFromRun();
    }
    validateMenus();
}

void MyDocument::startAutoProcedure(const QString &changedPath) {
    prepareToRun(true);
    if (!changedPath.isEmpty())
        appendALogLine(promptPrefix +
                       Text::format("FileChangedLog", {shownName(changedPath, m_workingDir)}) +
                       QLatin1Char('\n'));
    procedureIndex = 0;
    procRunning = true;
    followedFiles->writes().runStarted();
    planProcedure();
    validateMenus();
    execNextProcess();
}

// Runs open steps at once and stops at the first command step it starts; that command's
// finish report calls this again for the steps after it.
bool MyDocument::execNextProcess() {
    bool commandStep = procRunning && repeatEnginePass();
    while (procRunning && procedureIndex < kProcedureSteps && !commandStep) {
        const int code = gQuireonPrefs->procedureAtIndex(procedureIndex++);
        if (code == 0)
            break;
        if (code > 0) {
            if (!stepHasWork(procedureIndex - 1, code - 1))
                continue;
            commandStep = true;
            procRunning = execCommandOfIndex(code - 1);
        } else {
            // A failed open is reported by the open itself and does not end the procedure.
            openFileOfIndex(-code - 1);
        }
    }
    // An empty step, the end of the list or a stop during an open step ends it too.
    if (!commandStep)
        procRunning = false;
    if (!procRunning)
        resumeFromRun();
    return procRunning;
}

void MyDocument::runModeChanged() {
    autoRunMode = ui->checkAutoMode->isChecked();
}
