#include "mydocument.h"
#include "ui_MyDocument.h"

#include "document/helpers/rootpaths.h"
#include "feedback/runfeedback.h"
#include "platform/core/notificationcenter.h"
#include "engine/buildmemory.h"
#include "engine/buildrun.h"
#include "settings/buildsettingsread.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QFileInfo>
#include <QTimer>

MyDocument::MyDocument(QObject *parent)
    : QObject(parent), m_myWindow(std::make_unique<MyWindow>()),
      ui(std::make_unique<Ui::MyDocument>()) {
    ui->setupUi(m_myWindow.get());
    feedback = new RunFeedback(ui->logView, this);
    m_myWindow->setMyDocument(this);
    connectActions();
    setUpFloating();
    setUpFollowing();
    awakeFromNib();
    windowControllerDidLoadNib();
}

// A build still going stops its tool without a word: the window is going away.
MyDocument::~MyDocument() {
    delete std::exchange(build, nullptr);
}

void MyDocument::showWindow() {
    m_myWindow->show();
    m_myWindow->raise();
    m_myWindow->activateWindow();
}

void MyDocument::connectActions() {
    const QList<QPushButton *> commands = commandButtons();
    for (int i = 0; i < commands.size(); ++i)
        connect(commands[i], &QPushButton::clicked, this, [this, i] { execCommandOfIndex(i); });
    const QList<QPushButton *> opens = openButtons();
    for (int i = 0; i < opens.size(); ++i)
        connect(opens[i], &QPushButton::clicked, this, [this, i] { openSingleFileOfIndex(i); });
    connect(ui->buttonClearFiles, &QPushButton::clicked, this, &MyDocument::clearFiles);
    connect(ui->buttonStartStop, &QPushButton::clicked, this, &MyDocument::startStopSequence);
    connect(ui->checkAutoMode, &QCheckBox::clicked, this, &MyDocument::runModeChanged);
    connect(feedback, &RunFeedback::documentWanted, this, &MyDocument::showWindow);
    connect(
        m_myWindow.get(), &MyWindow::windowClosed, this, [this] { emit closed(this); },
        Qt::QueuedConnection);
}

void MyDocument::awakeFromNib() {
    commandRunning = false;
    m_floatingTimerActive = false;
    autoRunMode = true;
    connect(NotificationCenter::defaultCenter(), &NotificationCenter::notified, this,
            &MyDocument::notified);
}

void MyDocument::windowControllerDidLoadNib() {
    // Keeps the strip's layout steady while the progress bar comes and goes.
    QSizePolicy policy = ui->progressIndicator->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui->progressIndicator->setSizePolicy(policy);
    ui->progressIndicator->hide();
    // Lines are drawn in black; the log keeps a light page under dark desktop themes too.
    QPalette palette = ui->logView->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    ui->logView->setPalette(palette);
    clearCounters();
    clearLog();
    ui->statusField->setText(QString());
    autoRunMode = ui->checkAutoMode->isChecked();
}

void MyDocument::setFileName(const QString &path) {
    m_myWindow->setWindowFilePath(path);
    m_myWindow->setWindowTitle(QFileInfo(path).fileName());
    const RootPaths paths = RootPaths::derive(path);
    m_rootFilePath = path;
    m_basePath = paths.basePath;
    m_basename = paths.basename;
    m_workingDir = paths.workingDir;
    feedback->setWorkingDir(m_workingDir);
    buildMemory = std::make_unique<BuildMemory>(path);
    buildMemory->load();
    lastModified = getLastModified();
    reloadPrefs();
    enableButtons(true);
    scheduleOpenBuild();
}

void MyDocument::reloadPrefs() {
    setButtonTitles();
    if (build)
        build->setLogRules(buildSettingsOf(*gQuireonPrefs).logRules);
    errorColor = gQuireonPrefs->errorColor();
    warningColor = gQuireonPrefs->warningColor();
    noteColor = gQuireonPrefs->noteColor();
    enableButtons(true);

    delete checkTimer;
    checkTimer = new QTimer(this);
    // A stored interval below one second would spin the event loop; one second is the floor.
    checkTimer->setInterval(std::max(1, gQuireonPrefs->interval()) * 1000);
    connect(checkTimer, &QTimer::timeout, this, &MyDocument::timerProc);
    checkTimer->start();
    learnInputs(false);
}

void MyDocument::notified(const QString &name) {
    if (name == kPrefsChangedNotification)
        reloadPrefs();
}

bool MyDocument::windowShouldClose() {
    if (isRunning()) {
        startStopSequence();
        return false;
    }
    delete checkTimer;
    checkTimer = nullptr;
    delete floatingTimer;
    floatingTimer = nullptr;
    m_myWindow->stopTimer();
    disconnect(NotificationCenter::defaultCenter(), nullptr, this, nullptr);
    return true;
}
