#include "shellwords.h"

#include <algorithm>

namespace ShellWords {
namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// A word made only of these needs no quotes in any common shell.
bool isPlain(QChar c) {
    return c.isLetterOrNumber() || QStringView(u"-_./=:,+@%").contains(c);
}

// Reads one line left to right; each reader consumes one piece of the current word.
class Splitter {
public:
    explicit Splitter(const QString &line) : m_line(line) {}

    std::optional<QStringList> words() {
        while (m_at < m_line.size()) {
            if (!readPiece())
                return std::nullopt;
        }
        endWord();
        return m_words;
    }

private:
    bool readPiece() {
        const QChar c = m_line[m_at++];
        if (isBlank(c)) {
            endWord();
            return true;
        }
        m_inWord = true;
        if (c == u'\'')
            return readSingleQuoted();
        if (c == u'"')
            return readDoubleQuoted();
        if (c == u'\\')
            return readEscaped();
        m_word += c;
        return true;
    }
    bool readSingleQuoted() {
        const qsizetype end = m_line.indexOf(u'\'', m_at);
        if (end < 0)
            return false;
        m_word += QStringView(m_line).mid(m_at, end - m_at);
        m_at = end + 1;
        return true;
    }
    bool readDoubleQuoted() {
        while (m_at < m_line.size()) {
            const QChar c = m_line[m_at++];
            if (c == u'"')
                return true;
            const bool escapes = c == u'\\' && m_at < m_line.size() &&
                                 QStringView(u"\"\\$`").contains(m_line[m_at]);
            m_word += escapes ? m_line[m_at++] : c;
        }
        return false;
    }
    bool readEscaped() {
        if (m_at == m_line.size())
            return false;
        m_word += m_line[m_at++];
        return true;
    }
    void endWord() {
        if (m_inWord)
            m_words.append(std::exchange(m_word, QString()));
        m_inWord = false;
    }

    const QString &m_line;
    qsizetype m_at = 0;
    QStringList m_words;
    QString m_word;
    bool m_inWord = false; // set by any piece, so that '' makes a word
};

QString quoted(const QString &word) {
    if (!word.isEmpty() && std::all_of(word.begin(), word.end(), isPlain))
        return word;
    // A single quote cannot stand inside single quotes: close them, escape it, reopen.
    const QLatin1Char quote('\'');
    return quote + QString(word).replace(quote, QLatin1String("'\\''")) + quote;
}
} // namespace

std::optional<QStringList> split(const QString &line) {
    return Splitter(line).words();
}

QString joined(const QStringList &words) {
    QStringList shown;
    shown.reserve(words.size());
    for (const QString &word : words)
        shown.append(quoted(word));
    return shown.join(u' ');
}
} // namespace ShellWords
