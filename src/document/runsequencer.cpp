// The running and idle looks of the window, stopping a run, and auto mode's switch.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "process/taskwrapper.h"
#include "settings/localizedtext.h"

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
}

void MyDocument::startStopSequence() {
    // Starting the auto procedure from an idle document comes with the sequencer.
    if (isRunning())
        stopRun();
}

// The user's break: the runner ends the child, hands on the rest of its output and
// reports the finish, which shows the error status and the idle look.
void MyDocument::stopRun() {
    procRunning = false;
    userBreak = true;
    if (commandTask)
        commandTask->stopProcess();
    releaseCommandTask();
}

void MyDocument::runModeChanged() {
    autoRunMode = ui->checkAutoMode->isChecked();
}

// Auto mode check: compares the root file's date and starts the auto procedure; it comes
// with the sequencer. The timer already runs so that settings changes restart its period.
void MyDocument::timerProc() {}
