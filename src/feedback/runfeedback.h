#pragma once

#include "document/helpers/sourcelocator.h"
#include "runchanges.h"

#include <QObject>
#include <QStringView>

class DesktopNotifier;
class QPlainTextEdit;

// How a document's runs speak up: log lines that lead to the source, what changed since
// the last run, and a desktop notice when a run ends while Quireon is in the background.
// The document reports its log lines and runs here; this decides the rest.
class RunFeedback : public QObject {
    Q_OBJECT
public:
    enum class LineKind { Regular, Prompt, Problem };
    struct Outcome {
        QString fileName;
        int errors = 0;
        int warnings = 0;
        int pages = 0;
        bool stopped = false;
    };

    RunFeedback(QPlainTextEdit *log, QObject *parent);

    void setWorkingDir(const QString &dir);
    void logCleared();
    void passStarted(int command);
    // A line as the build classified it, at this character position of the log, before
    // the lines are shown.
    void lineScanned(QStringView line, qsizetype position, LineKind kind);
    // The line at this position leads to this place of the sources; linesShown() then
    // marks the lines located since the last call.
    void lineLocated(qsizetype position, const SourceLocation &location);
    void linesShown();
    // The log's oldest lines were removed: positions kept so far no longer hold.
    void logCut();
    // The run is over. Returns the line that says what changed, empty when nothing is said.
    QString runEnded(const Outcome &outcome);

    // "thesis.tex: done, 38 pages", "thesis.tex: 2 errors, 5 warnings".
    static QString noticeText(const Outcome &outcome);

signals:
    // The user asked for the document from its desktop notice.
    void documentWanted();

private:
    QPlainTextEdit *m_log;
    QString m_workingDir;
    SourceLocator::Located m_located;
    RunChanges m_changes;
    DesktopNotifier *m_notifier;
    bool m_passRan = false; // a command ran since the last end of a run
};
