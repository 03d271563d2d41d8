#include "runchanges.h"

#include "document/helpers/problemdiff.h"
#include "settings/localizedtext.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

void RunChanges::passStarted(int command) {
    m_command = command;
    m_lines.clear();
    m_positions.clear();
}

void RunChanges::problemLine(const QString &line, qsizetype position) {
    m_lines.append(line);
    m_positions.append(position);
}

QString RunChanges::runEnded(bool stopped) {
    const int command = std::exchange(m_command, -1);
    if (command < 0 || stopped)
        return QString();
    const auto previous = m_previous.constFind(command);
    const bool first = previous == m_previous.cend();
    const ProblemDiff::Result result = first ? ProblemDiff::Result{} : ProblemDiff::compare(*previous, m_lines);
    m_previous.insert(command, m_lines);
    if (first)
        return QString();
    markNew(result.added);
    return Text::format("ChangesSinceLastRun",
                        {QString::number(result.added.size()), QString::number(result.resolved)});
}

void RunChanges::markNew(const QList<int> &added) {
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextDocument *document = m_log->document();
    for (const int index : added) {
        if (m_positions[index] < 0)
            continue;
        const QTextBlock block = document->findBlock(int(m_positions[index]));
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(bold);
    }
}
