#include "appcontroller.h"

#include "documentlist.h"
#include "recentdocuments.h"
#include "startwindow.h"

#include "document/mydocument.h"
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "platform/panels.h"
#include "platform/settingsfailure.h"
#include "process/exitguard.h"
#include "project/newprojectcontroller.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/applicationfocus.h"
#include "window/documentorder.h"
#include "window/mywindow.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>

AppController::AppController(QObject *parent)
    : QObject(parent), m_documents(new DocumentList(this)),
      m_newProject(new NewProjectController(this))
{
    SettingsFailure::install();
    connect(m_documents, &DocumentList::becameEmpty, this, &AppController::quitIfNothingOpen);
    DocumentOrder::setProvider([list = QPointer(m_documents)] {
        return list ? list->orderedDocuments() : QList<MyDocument *>();
    });
}

AppController::~AppController()
{
    delete m_startWindow;
}

StartWindow *AppController::startWindow() const
{
    return m_startWindow && m_startWindow->isVisible() ? m_startWindow : nullptr;
}

void AppController::applicationDidFinishLaunching(const QStringList &launchFiles)
{
    connect(NotificationCenter::defaultCenter(), &NotificationCenter::notified, this,
            [this](const QString &name) { notified(name); });
    followApplicationFocus(this, [this] { return m_documents->orderedDocuments(); });
    setMenuItems();
    openFiles(launchFiles);
    if (!launchFiles.isEmpty() && !m_documents->isEmpty())
        return;
    switch (gQuireonPrefs->startupChoice()) {
    case 1:
        openDocument();
        break;
    case 2: {
        const QString last = gQuireonPrefs->lastOpenedDocument();
        if (last.isEmpty() || !openFile(last))
            openDocument();
        break;
    }
    default:
        break;
    }
    if (m_documents->isEmpty())
        showStartWindow();
}

void AppController::openFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        openFile(path);
    // A second launch without files brings Quireon forward.
    if (paths.isEmpty() && !m_documents->isEmpty())
        m_documents->orderedDocuments().constFirst()->showWindow();
}

void AppController::openDocument()
{
    const QString rootType = gQuireonPrefs->rootType();
    QWidget *parent = m_documents->isEmpty() ? nullptr
                                             : m_documents->orderedDocuments().constFirst()->myWindow();
    const QString path = Panels::openFile(parent, Text::format("OpenTitle", {rootType}), {rootType});
    if (!path.isEmpty())
        openFile(path);
}

void AppController::newFromTemplate(QWidget *parentWindow)
{
    m_newProject->newFromTemplate(parentWindow, [this](const QString &path) { openFile(path); });
}

void AppController::refuse(const char *header, const char *message, const QStringList &args)
{
    Alerts::runAlert(Text::localized(header), Text::format(message, args));
    gQuireonPrefs->setLastOpenedDocument(QString());
    gQuireonPrefs->savePreferences();
}

bool AppController::openFile(const QString &givenPath)
{
    // One spelling per file: "./a.tex" and "x/../a.tex" name the document of "a.tex", in
    // the window title, the recent documents and "Last Opened File" alike.
    const QString path = QDir::cleanPath(QFileInfo(givenPath).absoluteFilePath());
    if (MyDocument *open = m_documents->documentForPath(path)) {
        open->showWindow();
    } else {
        const QFileInfo info(path);
        if (info.suffix() != gQuireonPrefs->rootType()) {
            refuse("OpenErrorHeader", "OpenErrorMessage", {info.fileName(), gQuireonPrefs->rootType()});
            return false;
        }
        if (!info.isFile() || !info.isReadable()) {
            refuse("OpenLastErrorHeader", "OpenLastErrorMessage", {path});
            return false;
        }
        createDocument(path);
        RecentDocuments::noteNewRecentDocument(path);
    }
    gQuireonPrefs->setLastOpenedDocument(path);
    gQuireonPrefs->savePreferences();
    closeStartWindow();
    return true;
}

MyDocument *AppController::createDocument(const QString &path)
{
    auto *document = new MyDocument(this);
    installMainMenu(document->myWindow()->menuBar(), document);
    m_documents->add(document);
    connect(document, &MyDocument::closed, this, [this](MyDocument *closed) {
        m_documents->remove(closed);
        closed->deleteLater();
    });
    document->showWindow();
    document->setFileName(path);
    setMenuItems();
    return document;
}

void AppController::notified(const QString &name)
{
    if (name == kPrefsChangedNotification)
        setMenuItems();
}

void AppController::showStartWindow()
{
    if (!m_startWindow) {
        m_startWindow = new StartWindow;
        connect(m_startWindow, &StartWindow::openRequested, this, &AppController::openDocument);
        connect(m_startWindow, &StartWindow::quitRequested, this, &AppController::quit);
        connect(m_startWindow, &StartWindow::preferencesRequested, this,
                [this] { emit preferencesRequested(m_startWindow); });
        connect(m_startWindow, &StartWindow::newFromTemplateRequested, this,
                [this] { newFromTemplate(m_startWindow); });
    }
    m_startWindow->show();
    m_startWindow->raise();
}

// The start window is hidden, never deleted, while Quireon runs: a panel or sheet the user
// opened on it (and a running modal loop with it) would go down with it. While one is up,
// the window stays too and leaves once the last of them has closed.
void AppController::closeStartWindow()
{
    if (!startWindow())
        return;
    bool panelUp = false;
    for (QDialog *dialog : m_startWindow->findChildren<QDialog *>()) {
        if (dialog->isVisible()) {
            panelUp = true;
            connect(dialog, &QDialog::finished, this, &AppController::startWindowPanelClosed,
                    Qt::UniqueConnection);
        }
    }
    if (!panelUp)
        m_startWindow->hide();
}

void AppController::startWindowPanelClosed()
{
    if (!m_documents->isEmpty())
        closeStartWindow();
}

void AppController::quitIfNothingOpen()
{
    if (m_documents->isEmpty() && !startWindow())
        quit();
}

void AppController::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    // A running document refuses to close (its run stops instead); then Quireon stays.
    const QList<MyDocument *> documents = m_documents->orderedDocuments();
    for (MyDocument *document : documents)
        document->myWindow()->close();
    m_quitting = false;
    if (m_documents->isEmpty())
        QCoreApplication::quit();
}

void AppController::endOnSignal(int signalNumber)
{
    // Stopped here as the user's break, which tells the desktop nothing, rather than by
    // the documents' destructors, which would judge the run as if it had ended by itself.
    const QList<MyDocument *> documents = m_documents->orderedDocuments();
    for (MyDocument *document : documents)
        if (document->isRunning())
            document->startStopSequence();
    // Every running event loop ends, an alert's among them, and one opened on the way out
    // returns at once; the documents and their windows go when the controller does.
    QCoreApplication::exit(ExitGuard::statusAfter(signalNumber));
}
