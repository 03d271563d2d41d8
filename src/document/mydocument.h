#pragma once

#include "document/helpers/filestamp.h"
#include "document/helpers/logbound.h"
#include "engine/buildsettings.h"
#include "engine/lineclassifier.h"
#include "procedure/stepplanner.h"
#include "window/floatingdocument.h"

#include <QColor>
#include <QHash>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <memory>
#include <optional>

class BuildMemory;
class BuildRun;
struct BuildRequest;
class ClickForwarder;
class FollowedFiles;
struct LogChunk;
class QAction;
class QKeySequence;
class QMenuBar;
class SymLinkController;
class MyWindow;
class QPushButton;
class QTextCharFormat;
class QTimer;
class RunFeedback;
namespace Ui {
class MyDocument;
}

// One open root file: its window, the paths derived from the root file, and the build
// that runs on it, which it shows. Its behaviour is spread over one source file per
// concern: mydocument.cpp (life, paths, settings), commandexecution.cpp (starting a build
// and following its reports), logscanner.cpp (the log view), runsequencer.cpp, autocheck.cpp,
// outputfiles.cpp, buttons.cpp and menus.cpp.
class MyDocument : public QObject, public FloatingDocument {
    Q_OBJECT
public:
    // Lines the system writes into the log itself begin with this; they are never counted.
    static inline const QString promptPrefix = LineClassifier::promptPrefix;

    explicit MyDocument(QObject *parent = nullptr);
    ~MyDocument() override;

    MyWindow *myWindow() const { return m_myWindow.get(); }
    void showWindow();

    void setFileName(const QString &path);
    const QString &rootFilePath() const { return m_rootFilePath; }
    const QString &basePath() const { return m_basePath; }
    const QString &basename() const { return m_basename; }
    const QString &workingDir() const { return m_workingDir; }

    bool isRunning() const override { return build != nullptr; }
    bool autoRunModeOn() const { return autoRunMode; }
    // Asked by the window before it closes: a running document stops its run instead.
    bool windowShouldClose();

    void reloadPrefs();
    bool execCommandOfIndex(int index);

    // The log view (logscanner.cpp): lines of a build as it read them, and lines of the
    // window's own, which are classified and counted likewise.
    void showLogLines(const LogChunk &chunk);
    void appendALogLine(const QString &line);
    void clearCounters();

    // The auto procedure (runsequencer.cpp) and auto mode's check (autocheck.cpp).
    // changedPath, when given, is the file whose change started the procedure.
    void startAutoProcedure(const QString &changedPath = QString());
    static constexpr int kProcedureSteps = BuildSettings::kProcedureSteps;
    std::optional<FileStamp> getLastModified();
    const std::optional<FileStamp> &lastModifiedStamp() const { return lastModified; }
    // How often, and how far apart, a root file or followed file found missing is looked
    // for again before auto mode gives up on it: editors may remove it while they save.
    static constexpr int kMissingRootRechecks = 4;
    static constexpr int kMissingRootRecheckMs = 200;
    // Whether documents opened from now on in auto mode build once at the start when their
    // PDF is missing or older than what their last run read (openbuild.cpp). On by default;
    // the window tests turn it off, as they start every run they look at themselves.
    static void setBuildWhenOpened(bool on) { s_buildWhenOpened = on; }

    // Output files (outputfiles.cpp).
    bool openFileOfIndex(int index);
    void openSingleFileOfIndex(int index);
    void reportOpenFailure(const QString &fileName);
    void clearFilesSheetDidEnd(int returnCode);

    // The document window's process menu (menus.cpp).
    void installMenus(QMenuBar *bar);
    QMenu *processMenu() const { return m_processMenu; }
    bool validateMenuItem(const QAction *item) const;
    static bool menuTitleIsButton(const QString &title, int *proc);

    // Running and idle looks of the window.
    void prepareToRun(bool clear);
    void resumeFromRun(bool stopped);
    void setButtonTitles();
    void enableButtons(bool enable);
    bool existsAFileWithExt(const QString &ext) const;

    // Floating while the application is in the background (documentfloating.cpp).
    bool floatingTimerActive() const override { return m_floatingTimerActive; }
    void setAutoSize(bool autoSize) override;
    void moveToFloatingState();
    void moveToNormalState();
    // 0 for the frontmost document.
    int windowOrderWithinApplication() const;
    void windowDidBecomeKey();
    QSize windowWillResize(const QSize &size);

public slots:
    void exec1() { execCommandOfIndex(0); }
    void exec2() { execCommandOfIndex(1); }
    void exec3() { execCommandOfIndex(2); }
    void exec4() { execCommandOfIndex(3); }
    void exec5() { execCommandOfIndex(4); }
    void openFile1() { openSingleFileOfIndex(0); }
    void openFile2() { openSingleFileOfIndex(1); }
    void openFile3() { openSingleFileOfIndex(2); }
    void openFile4() { openSingleFileOfIndex(3); }
    void openFile5() { openSingleFileOfIndex(4); }
    void clearLog();
    void clearFiles();
    void startStopSequence();
    void runModeChanged();
    void createSymLink();

signals:
    // The window has closed; the owner deletes the document (deleteLater).
    void closed(MyDocument *document);

private slots:
    void notified(const QString &name);
    void timerProc();
    void floatingProc();

private:
    void awakeFromNib();
    void windowControllerDidLoadNib();
    void connectActions();
    void setUpFloating();
    void floatWhileInBackground();
    bool startBuild(const BuildRequest &request);
    void commandStarting(const QString &commandLine);
    void commandStarted(const QStringList &arguments);
    void commandEnded(const QStringList &arguments, bool failed);
    void buildFinished();
    void stopRun();
    void checkRootFile();
    bool sheetIsUp() const;
    // The build at opening (openbuild.cpp).
    void scheduleOpenBuild();
    std::optional<QString> takeOpenBuild();
    // Auto mode's following of the files the document read (followinputs.cpp).
    void setUpFollowing();
    void learnInputs(bool afterRun);
    void followedFilesSettled();
    void validateMenus();
    void addProcessItem(const char *name, const QString &title, const QKeySequence &shortcut,
                        void (MyDocument::*action)());
    QTextCharFormat formatOf(LineKind kind) const;
    void showLines(const LogChunk &chunk);
    void boundLog();
    void showCounters();
    void armFloatingTimer();
    QList<QPushButton *> commandButtons() const;
    QList<QPushButton *> openButtons() const;

    std::unique_ptr<MyWindow> m_myWindow;
    std::unique_ptr<Ui::MyDocument> ui;

    QString m_rootFilePath;
    QString m_basePath;
    QString m_basename;
    QString m_workingDir;
    std::optional<FileStamp> lastModified;
    BuildRun *build = nullptr; // a child of the document while it runs
    bool commandRunning = false;
    LogBound logBound;
    QColor errorColor;
    QColor warningColor;
    QColor noteColor;
    // The window's own lines are counted by the rules of the settings, beside the build's.
    std::unique_ptr<LineClassifier> ownLines;
    LogCounts buildCounts;
    // Where the problem lines of the build still waiting for their place are in the log.
    QHash<qint64, qsizetype> waitingLines;
    QTimer *checkTimer = nullptr;
    QTimer *floatingTimer = nullptr;
    // The memory of earlier builds of this root, which lets steps without work be left out.
    StepPlanner stepPlanner;
    // What the tools found needed last read and wrote, kept across restarts.
    std::unique_ptr<BuildMemory> buildMemory;
    bool m_floatingTimerActive = false;
    // A drag resizes the window many times a second; its size is stored once it rests.
    QTimer *windowSizeTimer = nullptr;
    QSize pendingWindowSize;
    ClickForwarder *clickForwarder = nullptr; // a child of the document
    bool autoRunMode = true;
    bool observing = false;
    int missingRootChecks = 0; // re-checks of a missing root or followed file still to come
    bool rootAlertUp = false;  // the missing-root alert is showing
    bool openBuildPending = false; // the PDF is still to be looked at since the document opened
    static inline bool s_buildWhenOpened = true;
    QPointer<QMenu> m_processMenu;
    SymLinkController *symLinkController = nullptr; // a child of the document, made on demand
    RunFeedback *feedback = nullptr;                 // a child of the document
    FollowedFiles *followedFiles = nullptr;         // a child of the document
};
