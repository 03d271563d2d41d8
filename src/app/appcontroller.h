#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class DocumentList;
class MyDocument;
class QMenuBar;
class QMenu;
class NewProjectController;
class StartWindow;
class QWidget;

// The application's delegate: what opens at launch, the one road by which a file becomes
// a document, the main menu of every window, and the process menu's titles.
class AppController : public QObject
{
    Q_OBJECT
public:
    explicit AppController(QObject *parent = nullptr);
    ~AppController() override;

    // Launch: files named on the command line open; otherwise "Startup Choice" decides.
    void applicationDidFinishLaunching(const QStringList &launchFiles = {});
    static bool applicationShouldOpenUntitledFile() { return false; }

    // Opens path as a document or brings its window forward. True when it is open.
    bool openFile(const QString &path);
    void openFiles(const QStringList &paths);
    void openDocument(); // the Open panel
    void newFromTemplate(QWidget *parentWindow);
    void setMenuItems();

    // A stop signal (see ExitGuard): every document's run stops as its Stop button stops
    // it, and Quireon quits with 128 plus the signal's number, asking nothing, from inside
    // a modal alert or panel too.
    void endOnSignal(int signalNumber);

    DocumentList *documents() const { return m_documents; }
    // The start window while it is shown, else null.
    StartWindow *startWindow() const;

signals:
    // A menu asked for the preferences; wired to the preferences controller by its owner.
    void preferencesRequested(QWidget *parentWindow);

private:
    void notified(const QString &name);
    void refuse(const char *header, const char *message, const QStringList &args);
    MyDocument *createDocument(const QString &path);
    void installMainMenu(QMenuBar *bar, MyDocument *document);
    QMenu *fileMenu(QMenuBar *bar, MyDocument *document);
    void fillRecentMenu(QMenu *menu);
    void showStartWindow();
    void closeStartWindow();
    void startWindowPanelClosed();
    void quitIfNothingOpen();
    void quit();

    DocumentList *m_documents;
    NewProjectController *m_newProject;
    QPointer<StartWindow> m_startWindow;
    bool m_quitting = false;
};
