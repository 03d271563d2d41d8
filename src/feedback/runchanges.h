#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

// What changed since the last run: the problem lines of a run's final pass against those
// of the previous run of the same document whose final pass was the same command (a run
// that ends at bibtex is not compared with one that ends at pdflatex). The new lines are
// made bold in the log.
class RunChanges {
public:
    explicit RunChanges(QPlainTextEdit *log) : m_log(log) {}

    // A command starts: its problem lines replace the earlier pass's.
    void passStarted(int command);
    // A counted line of the running pass, at this character position of the log.
    void problemLine(const QString &line, qsizetype position);
    // The run ended. Returns the summary ("2 new, 3 resolved since the last run"), empty
    // when there is nothing to compare with. A stopped run is not compared nor kept.
    QString runEnded(bool stopped);
    // The log lost its oldest lines: the pass's lines are still compared, but not marked.
    void forgetPositions() { m_positions.fill(-1); }

private:
    void markNew(const QList<int> &added);

    QPlainTextEdit *m_log;
    int m_command = -1; // the pass that ran last; -1 once reported
    QStringList m_lines;
    QList<qsizetype> m_positions;
    QHash<int, QStringList> m_previous; // by command index
};
