#pragma once

#include "document/helpers/pagereport.h"
#include "process/taskwrappercontroller.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

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
// settings), commandexecution.cpp, logscanner.cpp, runsequencer.cpp and buttons.cpp.
class MyDocument : public QObject, public TaskWrapperController {
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

    bool isRunning() const { return commandRunning || procRunning; }
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

    // Running and idle looks of the window.
    void prepareToRun(bool clear);
    void resumeFromRun();
    void setButtonTitles();
    void enableButtons(bool enable);
    bool existsAFileWithExt(const QString &ext) const;

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
    void clearLog();
    void startStopSequence();
    void runModeChanged();

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
    void preparePageCheck(int index);
    void stopRun();
    enum class LineClass { Regular, Prompt, Error, Warning, Note };
    LineClass classifyLine(QStringView line);
    QTextCharFormat formatOf(LineClass lineClass) const;
    void appendCompleteLines(const QString &lines);
    void showCounters();
    void releaseCommandTask();
    QList<QPushButton *> commandButtons() const;
    QList<QPushButton *> openButtons() const;

    std::unique_ptr<MyWindow> m_myWindow;
    std::unique_ptr<Ui::MyDocument> ui;

    QString m_rootFilePath;
    QString m_basePath;
    QString m_basename;
    QString m_workingDir;
    QDateTime lastModified;
    TaskWrapper *commandTask = nullptr; // a child of the document
    bool commandRunning = false;
    bool pageCheck = false;
    PageShape pageShape;
    QString logFraction;
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
    bool floatingTimerActive = false;
    bool autoRunMode = true;
    bool userBreak = false;
    bool observing = false;
};
