// The auto procedure: the running and idle looks of the window, stopping a run, and auto
// mode's switch.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "engine/buildrun.h"
#include "feedback/runfeedback.h"
#include "settings/localizedtext.h"

#include <QFileInfo>

void MyDocument::prepareToRun(bool clear) {
    if (clear) {
        clearLog();
        clearCounters();
    }
    ui->buttonStartStop->setText(Text::localized("Stop"));
    ui->progressIndicator->show();
    enableButtons(false);
}

void MyDocument::resumeFromRun(bool stopped) {
    ui->buttonStartStop->setText(Text::localized("Run"));
    ui->progressIndicator->hide();
    enableButtons(true);
    validateMenus();
    const QString changes = feedback->runEnded(
        {QFileInfo(m_rootFilePath).fileName(), buildCounts.errors + ownLines->counts().errors,
         buildCounts.warnings + ownLines->counts().warnings, ui->textNumPages->text().toInt(), stopped});
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

// The user's break: the build ends the tool's process group, hands on the rest of its
// output and reports its end, which brings the error status and the idle look.
void MyDocument::stopRun() {
    build->stop();
    validateMenus();
}

void MyDocument::startAutoProcedure(const QString &changedPath) {
    startBuild(BuildRequest::procedure(changedPath));
}

void MyDocument::runModeChanged() {
    autoRunMode = ui->checkAutoMode->isChecked();
    // The user took auto mode in hand before the build at opening could start (an alert
    // was up): it does not come later.
    openBuildPending = false;
}
