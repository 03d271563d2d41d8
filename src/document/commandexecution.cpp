// Starting a build of the root file, one command or the procedure, and showing what it
// reports: the running look, the status line, the log and the idle look at its end.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "engine/buildrun.h"
#include "feedback/runfeedback.h"
#include "follow/followedfiles.h"
#include "settings/buildsettingsread.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QApplication>
#include <QTimer>

bool MyDocument::execCommandOfIndex(int index) {
    return startBuild(BuildRequest::single(index));
}

// The settings are read once here: a change during the build applies to the next one.
bool MyDocument::startBuild(const BuildRequest &request) {
    // Any run started before the build at opening came to be looked at stands in for it.
    openBuildPending = false;
    prepareToRun(true);
    followedFiles->writes().runStarted();
    build = new BuildRun(m_rootFilePath, buildSettingsOf(*gQuireonPrefs), request, stepPlanner, *buildMemory, this);
    connect(build, &BuildRun::commandStarting, this,
            [this](int index, const QString &line) { feedback->passStarted(index), commandStarting(line); });
    connect(build, &BuildRun::commandStarted, this, &MyDocument::commandStarted);
    connect(build, &BuildRun::logLines, this, &MyDocument::showLogLines);
    connect(build, &BuildRun::commandEnded, this, &MyDocument::commandEnded);
    connect(build, &BuildRun::openRequested, this, &MyDocument::openFileOfIndex);
    connect(build, &BuildRun::finished, this, &MyDocument::buildFinished);
    validateMenus();
    return build->start();
}

void MyDocument::commandStarting(const QString &commandLine) {
    followedFiles->writes().stepStarted(commandLine);
}

void MyDocument::commandStarted(const QStringList &arguments) {
    ui->statusField->setText(Text::format("ExecutingStatus", {arguments.join(QLatin1Char(' '))}));
    delete floatingTimer;
    floatingTimer = nullptr;
    commandRunning = true;
    m_floatingTimerActive = true;
    validateMenus();
    floatWhileInBackground();
}

void MyDocument::commandEnded(const QStringList &arguments, bool failed) {
    commandRunning = false;
    followedFiles->writes().stepEnded();
    const QString commandText = arguments.join(QLatin1Char(' '));
    ui->statusField->setText(Text::format(failed ? "ErrorStatus" : "DoneStatus", {commandText}));
}

// The strip stays grown while the steps of a procedure run; the end of the build arms
// the shrink.
void MyDocument::buildFinished() {
    BuildRun *ended = std::exchange(build, nullptr);
    ended->deleteLater();
    buildCounts = ended->counts();
    resumeFromRun(ended->stopped());
    armFloatingTimer();
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
    waitingLines.clear();
    logBound.reset();
    ui->logView->setFont(font);
    ui->logView->document()->setDefaultFont(font);
}
