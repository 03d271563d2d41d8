#pragma once

#include "document/helpers/filestamp.h"
#include "document/helpers/logbound.h"
#include "document/helpers/pagereport.h"
#include "feedback/runfeedback.h"
#include "procedure/stepplanner.h"
#include "process/taskwrappercontroller.h"
#include "window/floatingdocument.h"

#include <QColor>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <memory>
#include <optional>

class ClickForwarder;
class FollowedFiles;
class QAction;
class QKeySequence;
class QMenuBar;
class SymLinkController;
class MyWindow;
class QPushButton;
class QTextCharFormat;
class QTimer;
class TaskWrapper;
namespace Ui {
class MyDocument;
}

// One open root file: its window, the paths derived from the root file, the settings
// the log scanner works with, and the run state of commands and procedures. Its
// behaviour is spread over one source file per concern: mydocument.cpp (life, paths,
// settings), commandexecution.cpp, logscanner.cpp, runsequencer.cpp, autocheck.cpp,
// outputfiles.cpp, buttons.cpp and menus.cpp.
class MyDocument : public QObject, public TaskWrapperController, public FloatingDocument {
    Q_OBJECT
public:
    // Lines the system writes into the log itself begin with this; they are never counted.
    static inline const QString promptPrefix = QStringLiteral("Quireon> ");

    explicit MyDocument(QObject *parent = nullptr);
    ~MyDocument() override;

    MyWindow *myWindow() const { return m_myWindow.get(); }
    void showWindow();

    void setFileName(const QString &path);
    const QString &rootFilePath() const { return m_rootFilePath; }
    const QString &basePath() const { return m_basePath; }
    const QString &basename() const { return m_basename; }
    const QString &workingDir() const { return m_workingDir; }

    bool isRunning() const override { return commandRunning || procRunning; }
    bool autoRunModeOn() const { return autoRunMode; }
    // Asked by the window before it closes: a running document stops its run instead.
    bool windowShouldClose();

    void reloadPrefs();
    bool execCommandOfIndex(int index);

    // Log scanner.
    void appendLogLines();
    void appendALogLine(const QString &line);
    int checkPage(QStringView line) const;
    void clearCounters();

    // The auto procedure (runsequencer.cpp) and auto mode's check (autocheck.cpp).
    // changedPath, when given, is the file whose change started the procedure.
    void startAutoProcedure(const QString &changedPath = QString());
    bool execNextProcess();
    static constexpr int kProcedureSteps = 8;
    std::optional<FileStamp> getLastModified();
    const std::optional<FileStamp> &lastModifiedStamp() const { return lastModified; }
    // How often, and how far apart, a root file or followed file found missing is looked
    // for again before auto mode gives up on it: editors may remove it while they save.
    static constexpr int kMissingRootRechecks = 4;
    static constexpr int kMissingRootRecheckMs = 200;

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
    void resumeFromRun();
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

    // TaskWrapperController
    void processStarted(const QStringList &arguments) override;
    void appendOutput(const QString &output) override;
    void processFinished(const QStringList &arguments) override;

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
    void preparePageCheck(int index);
    void stopRun();
    // Steps with work only (stepplanning.cpp).
    void planProcedure();
    bool stepHasWork(int entry, int index);
    bool repeatEnginePass();
    void noteStep(const StepDecision &decision, int index);
    void checkRootFile();
    bool sheetIsUp() const;
    // Auto mode's following of the files the document read (followinputs.cpp).
    void setUpFollowing();
    void learnInputs(bool afterRun);
    void followedFilesSettled();
    void validateMenus();
    void addProcessItem(const char *name, const QString &title, const QKeySequence &shortcut,
                        void (MyDocument::*action)());
    enum class LineClass { Regular, Prompt, Error, Warning, Note };
    LineClass classifyLine(QStringView line);
    static RunFeedback::LineKind feedbackKind(LineClass lineClass);
    QTextCharFormat formatOf(LineClass lineClass) const;
    void appendCompleteLines(const QString &lines);
    void appendUnfinishedLine();
    void boundLog();
    void showCounters();
    void releaseCommandTask();
    bool judgeToolEnding(const TaskWrapper &task);
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
    TaskWrapper *commandTask = nullptr; // a child of the document
    bool commandRunning = false;
    bool pageCheck = false;
    PageShape pageShape;
    QString logFraction;
    LogBound logBound;
    QStringList errorStrings;
    QStringList warningStrings;
    QStringList noteStrings;
    QStringList pageStrings;
    QColor errorColor;
    QColor warningColor;
    QColor noteColor;
    bool checkErrors = false;
    bool checkWarnings = false;
    bool checkNotes = false;
    bool checkPages = false;
    int numErrors = 0;
    int numWarnings = 0;
    int numNotes = 0;
    QTimer *checkTimer = nullptr;
    QTimer *floatingTimer = nullptr;
    int procedureIndex = 0;
    bool procRunning = false;
    StepPlanner stepPlanner;
    bool m_floatingTimerActive = false;
    // A drag resizes the window many times a second; its size is stored once it rests.
    QTimer *windowSizeTimer = nullptr;
    QSize pendingWindowSize;
    ClickForwarder *clickForwarder = nullptr; // a child of the document
    bool autoRunMode = true;
    bool userBreak = false;
    bool observing = false;
    int missingRootChecks = 0; // re-checks of a missing root or followed file still to come
    bool rootAlertUp = false;  // the missing-root alert is showing
    QPointer<QMenu> m_processMenu;
    SymLinkController *symLinkController = nullptr; // a child of the document, made on demand
    RunFeedback *feedback = nullptr;                 // a child of the document
    FollowedFiles *followedFiles = nullptr;         // a child of the document
};
