#include "logbound.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// Where the kept text begins: the start of a line, chosen so that at most three quarters
// of each limit remain.
int LogBound::cutPosition(const QTextDocument &log) const
{
    const int lines = log.blockCount();
    int cut = 0;
    if (lines > kMaxLines)
        cut = log.findBlockByNumber(lines - kMaxLines * 3 / 4).position();
    const int characters = log.characterCount();
    if (characters > kMaxCharacters) {
        const QTextBlock block = log.findBlock(characters - kMaxCharacters * 3 / 4);
        const QTextBlock next = block.next();
        cut = std::max(cut, next.isValid() ? next.position() : block.position());
    }
    return cut;
}

bool LogBound::enforce(QTextDocument &log, const NoteLine &noteLine,
                       const QTextCharFormat &noteFormat)
{
    if (log.blockCount() <= kMaxLines && log.characterCount() <= kMaxCharacters)
        return false;
    // An earlier note is the first line; it is replaced, not counted.
    const int keptFrom = m_leftOut > 0 ? log.firstBlock().next().position() : 0;
    const int cut = cutPosition(log);
    if (cut <= keptFrom)
        return false;
    m_leftOut += cut - keptFrom;
    QTextCursor cursor(&log);
    cursor.beginEditBlock();
    cursor.setPosition(cut, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QString note = noteLine(m_leftOut);
    if (note.endsWith(QLatin1Char('\n')))
        note.chop(1);
    cursor.insertText(note, noteFormat);
    cursor.insertBlock();
    cursor.endEditBlock();
    return true;
}
