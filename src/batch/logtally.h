#pragma once

#include "document/helpers/pagereport.h"

#include <QString>
#include <QStringList>
#include <optional>

// The log scanner without a window: completes lines across chunks and counts error,
// warning and note lines by the prefix lists of the settings, and remembers the last page
// count the running command reports. Counts add up over a whole procedure.
class LogTally
{
public:
    struct Counts {
        int errors = 0;
        int warnings = 0;
        int notes = 0;
        int pages = 0;
    };

    LogTally(); // reads the scanner's settings from the shared settings object

    // A new command of the command table starts: its page string applies from now on.
    void beginCommand(int commandIndex);
    // The complete lines the chunk finishes, counted; the unfinished rest waits.
    QString takeLines(const QString &chunk);
    // The unfinished rest at the end of a command's output, counted, as a line of its own.
    QString finishLines();
    const Counts &counts() const { return m_counts; }

private:
    void countLines(const QString &lines);
    void countLine(QStringView line);

    QStringList m_errorStrings;
    QStringList m_warningStrings;
    QStringList m_noteStrings;
    QStringList m_pageStrings;
    bool m_checkErrors;
    bool m_checkWarnings;
    bool m_checkNotes;
    bool m_checkPages;
    std::optional<PageShape> m_pageShape;
    QString m_fraction;
    Counts m_counts;
};
