#include "logtally.h"

#include "document/helpers/linesplitter.h"
#include "document/helpers/prefixmatch.h"
#include "settings/quireonprefs.h"

#include <utility>

LogTally::LogTally()
    : m_errorStrings(gQuireonPrefs->errorStrArray()),
      m_warningStrings(gQuireonPrefs->warningStrArray()),
      m_noteStrings(gQuireonPrefs->noteStrArray()), m_pageStrings(gQuireonPrefs->pageStrArray()),
      m_checkErrors(gQuireonPrefs->checkErrors()), m_checkWarnings(gQuireonPrefs->checkWarnings()),
      m_checkNotes(gQuireonPrefs->checkNotes()), m_checkPages(gQuireonPrefs->checkPages())
{
}

void LogTally::beginCommand(int commandIndex)
{
    m_fraction.clear();
    m_pageShape.reset();
    if (m_checkPages)
        m_pageShape = PageReport::shapeOf(m_pageStrings.value(commandIndex));
}

QString LogTally::takeLines(const QString &chunk)
{
    m_fraction += chunk;
    const QString lines = LineSplitter::takeCompleteLines(m_fraction);
    countLines(lines);
    return lines;
}

QString LogTally::finishLines()
{
    if (m_fraction.isEmpty())
        return QString();
    const QString line = std::exchange(m_fraction, QString()) + QLatin1Char('\n');
    countLines(line);
    return line;
}

void LogTally::countLines(const QString &lines)
{
    for (qsizetype from = 0; from < lines.size();) {
        const qsizetype newline = lines.indexOf(QLatin1Char('\n'), from);
        const qsizetype end = newline < 0 ? lines.size() : newline + 1;
        countLine(QStringView(lines).mid(from, end - from));
        from = end;
    }
}

// The first list that matches wins, in the order errors, warnings, notes.
void LogTally::countLine(QStringView line)
{
    line = withoutTexPrompt(line);
    if (m_checkErrors && checkError(line, m_errorStrings))
        ++m_counts.errors;
    else if (m_checkWarnings && checkError(line, m_warningStrings))
        ++m_counts.warnings;
    else if (m_checkNotes && checkError(line, m_noteStrings))
        ++m_counts.notes;
    if (m_pageShape)
        if (const int pages = PageReport::checkPage(line, *m_pageShape); pages > 0)
            m_counts.pages = pages;
}
