#pragma once

#include "buildsettings.h"
#include "document/helpers/pagereport.h"

#include <QStringView>
#include <optional>
#include <utility>

// What a line of a run's log is.
enum class LineKind { Regular, Prompt, Error, Warning, Note };

struct LogCounts {
    int errors = 0;
    int warnings = 0;
    int notes = 0;
    int pages = 0; // the last page count a command reported; 0 when none did
};

// Classifies a run's log line by line and keeps the counts: Quireon's own lines by their
// prefix, the tools' lines by the prefix lists of the rules, and the page count from the
// page string of the command that runs.
class LineClassifier {
public:
    // Quireon's own lines in a log begin with this; they are never counted.
    static inline const QString promptPrefix = QStringLiteral("Quireon> ");

    explicit LineClassifier(LogRules rules);

    // New rules apply from the next line on; the page string from the next command on.
    void setRules(LogRules rules) { m_rules = std::move(rules); }
    // A command of the command table starts: its page string applies from now on.
    void beginCommand(int commandIndex);
    // The line's kind; a problem line is counted, a page report kept.
    LineKind classify(QStringView line);
    const LogCounts &counts() const { return m_counts; }

private:
    LogRules m_rules;
    std::optional<PageShape> m_pageShape;
    LogCounts m_counts;
};
