#pragma once

#include <QString>
#include <QTextCharFormat>
#include <functional>

class QTextDocument;

// Keeps a log's memory bounded under any flood of output. Once the log holds more than
// its limit of characters or of lines, its oldest lines go, down to three quarters of
// the limit, and its first line says how many characters have been left out since the
// log was last cleared.
class LogBound
{
public:
    static constexpr int kMaxCharacters = 4 * 1024 * 1024;
    static constexpr int kMaxLines = 100000;
    // An unfinished line longer than this is shown as a line of its own.
    static constexpr int kMaxLineLength = 1024 * 1024;

    using NoteLine = std::function<QString(qint64 leftOut)>; // the note, newline included

    // Answers whether lines were removed; the note is then the log's first line.
    bool enforce(QTextDocument &log, const NoteLine &noteLine, const QTextCharFormat &noteFormat);
    void reset() { m_leftOut = 0; }

private:
    int cutPosition(const QTextDocument &log) const;

    qint64 m_leftOut = 0;
};
