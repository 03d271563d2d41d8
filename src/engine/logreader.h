#pragma once

#include "document/helpers/sourcelocator.h"
#include "lineclassifier.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// Complete lines of a run's log, classified, as one piece of text.
struct LogChunk {
    struct Line {
        qsizetype start = 0;  // in text
        qsizetype length = 0; // with its newline
        LineKind kind = LineKind::Regular;
    };
    QString text;      // every line ends with "\n"
    QList<Line> lines; // in order; line i has the serial firstSerial + i
    qint64 firstSerial = 0;
    // Lines whose place in the sources became known with this chunk, by serial: lines of
    // this chunk or earlier ones that waited for a later line to name it.
    QList<std::pair<qint64, SourceLocation>> located;
    LogCounts counts; // of the whole run, after this chunk
    bool pagesReported = false; // a line of this chunk reported the page count

    bool isEmpty() const { return text.isEmpty(); }
};

// A counted line of a run's log, with its place in the sources when the log tells it.
struct ProblemLine {
    LineKind kind = LineKind::Error;
    QString text; // without its newline
    std::optional<SourceLocation> location;
};

// Reads a run's log as its tools print it: output arrives in pieces that end anywhere and
// is handed on as complete lines, classified and counted; an unfinished line longer than
// kMaxLineLength is handed on as a line of its own, so output that never ends a line
// cannot grow without bound. Problem lines are kept with their place in the sources.
class LogReader {
public:
    static constexpr qsizetype kMaxLineLength = 1024 * 1024;
    // Problem lines kept, at most; the counts go on beyond it.
    static constexpr qsizetype kMaxProblems = 10000;

    LogReader(LogRules rules, const QString &workingDir);

    void setRules(const LogRules &rules) { m_classifier.setRules(rules); }
    // A command of the command table starts: its page string applies, and what the last
    // one printed no longer names files.
    void beginCommand(int commandIndex);
    // The complete lines that output finishes.
    LogChunk take(const QString &output);
    // The unfinished rest at the end of a command's output, as a line of its own.
    LogChunk finish();
    // Quireon's own lines, newline included.
    LogChunk ownLines(const QString &lines);

    const LogCounts &counts() const { return m_classifier.counts(); }
    const QList<ProblemLine> &problems() const { return m_problems; }

private:
    LogChunk read(QString lines);
    void locate(LogChunk &chunk, QStringView line, LineKind kind, qint64 serial);

    LineClassifier m_classifier;
    SourceLocator m_locator;
    QString m_fraction;
    qint64 m_nextSerial = 0;
    QList<ProblemLine> m_problems;
    // Problem lines still waiting for their place: serial -> index in m_problems.
    QHash<qint64, qsizetype> m_waiting;
};
