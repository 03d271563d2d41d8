#include "sourcelocator.h"

#include <QDir>
#include <QRegularExpression>

namespace {
const QRegularExpression fileLineError(QStringLiteral("^(.+?):(\\d+): "));
const QRegularExpression bibtexLine(QStringLiteral("---line (\\d+) of file (.+)$"));
const QRegularExpression inputLine(QStringLiteral("on input line (\\d+)"));
const QRegularExpression boxLines(QStringLiteral("at lines? (\\d+)"));
const QRegularExpression errorContextLine(QStringLiteral("^l\\.(\\d+)(?: |$)"));
// "<argument> ...", "<to be read again> ...", "<*> ...": TeX quoting what it read.
const QRegularExpression quotedInput(QStringLiteral("^<[a-z *]+>"));

bool isSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// "(hyperref)                removing ..." carries a package's message on: a word in
// parentheses, then white space. Checked by hand, since most lines of a log begin with "(".
bool isContinuation(QStringView line) {
    if (!line.startsWith(u'('))
        return false;
    qsizetype i = 1;
    while (i < line.size() && line.at(i) != u'(' && line.at(i) != u')' && !isSpace(line.at(i)))
        ++i;
    return i > 1 && i + 1 < line.size() && line.at(i) == u')' && isSpace(line.at(i + 1));
}

int number(const QRegularExpressionMatch &match, int group) {
    return match.captured(group).toInt();
}

// TeX's prompt "? " may stand before a message, when TeX asked for input before it.
QStringView withoutPrompts(QStringView line) {
    while (line.startsWith(u"? "))
        line = line.mid(2);
    return line;
}

// A word that can only be a file name: a path, or a name with a letter extension
// ("62.5pt" and "badness" are not).
bool looksLikeFile(QStringView word) {
    if (word.startsWith(u"./") || word.startsWith(u"../") || word.startsWith(u'/'))
        return true;
    const qsizetype dot = word.lastIndexOf(u'.');
    return dot > 0 && dot + 1 < word.size() && word.at(dot + 1).isLetter();
}
} // namespace

SourceLocator::SourceLocator(const QString &workingDir) : m_dir(workingDir) {}

void SourceLocator::setWorkingDir(const QString &dir) {
    m_dir = QDir(dir);
}

void SourceLocator::forgetWaiting() {
    m_waitingErrors.clear();
    m_waitingWarnings.clear();
}

void SourceLocator::reset() {
    m_stack.clear();
    forgetWaiting();
    m_contextFollows = false;
}

QString SourceLocator::currentFile() const {
    for (auto it = m_stack.crbegin(); it != m_stack.crend(); ++it)
        if (!it->isEmpty())
            return *it;
    return QString();
}

SourceLocation SourceLocator::at(const QString &name, int line) const {
    if (name.isEmpty() || line <= 0)
        return {};
    return {QDir::cleanPath(m_dir.absoluteFilePath(name)), line};
}

SourceLocator::Located SourceLocator::take(QStringView rawLine, qsizetype id, bool problem) {
    Located located;
    const QStringView line = withoutPrompts(rawLine);
    const bool inContinuation = isContinuation(line);
    if (!inContinuation)
        m_waitingWarnings.clear();

    if (const auto match = line.startsWith(u"l.") ? errorContextLine.match(line) : QRegularExpressionMatch();
        match.hasMatch()) {
        for (const qsizetype waiting : std::as_const(m_waitingErrors))
            located.emplaceBack(waiting, at(currentFile(), number(match, 1)));
        m_waitingErrors.clear();
    } else if (const auto match = inContinuation ? inputLine.match(line) : QRegularExpressionMatch(); match.hasMatch()) {
        for (const qsizetype waiting : std::as_const(m_waitingWarnings))
            located.emplaceBack(waiting, at(currentFile(), number(match, 1)));
        m_waitingWarnings.clear();
    }

    SourceLocation own;
    // Cheap tests first: most lines of a long log name no place at all.
    if (const auto match = line.contains(u':') ? fileLineError.match(line) : QRegularExpressionMatch();
        match.hasMatch() && looksLikeFile(match.capturedView(1))) {
        own = at(match.captured(1), number(match, 2));
    } else if (const auto match = line.contains(u"---line") ? bibtexLine.match(line) : QRegularExpressionMatch();
               match.hasMatch()) {
        own = at(match.captured(2).trimmed(), number(match, 1));
    } else if (problem) {
        if (const auto match = inputLine.match(line); match.hasMatch())
            own = at(currentFile(), number(match, 1));
        else if (const auto match = boxLines.match(line); match.hasMatch())
            own = at(currentFile(), number(match, 1));
        else if (line.startsWith(u'!'))
            m_waitingErrors.append(id);
        else
            m_waitingWarnings.append(id);
    }
    if (!own.file.isEmpty())
        located.emplaceBack(id, own);

    trackFiles(line);
    return located;
}

// Lines that quote the source or a box's contents may hold any parentheses; they are not
// TeX opening or closing files. Such a quote is "l.12 text" or "<argument> text" with its
// second half on the next line, or a box's "\OT1/cmr/m/n/10 text" and "[]\OT1...".
bool SourceLocator::isContext(QStringView line) {
    const bool secondHalf = m_contextFollows && line.startsWith(u' ');
    m_contextFollows = (line.startsWith(u"l.") && errorContextLine.match(line).hasMatch()) ||
                       (line.startsWith(u'<') && quotedInput.match(line).hasMatch());
    return secondHalf || m_contextFollows || line.startsWith(u'\\') || line.startsWith(u"[]");
}

void SourceLocator::trackFiles(QStringView line) {
    if (isContext(line))
        return;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == u'(')
            i = openFile(line, i + 1) - 1;
        else if (line.at(i) == u')' && !m_stack.isEmpty())
            m_stack.removeLast();
    }
}

// Pushes what the parenthesis at from - 1 opens and returns where scanning goes on. A name
// may hold spaces ("(./my part/sec two.tex"): the longest run of words up to the next
// parenthesis that names an existing file wins, else the first word.
qsizetype SourceLocator::openFile(QStringView line, qsizetype from) {
    qsizetype end = from;
    while (end < line.size() && line.at(end) != u'(' && line.at(end) != u')')
        ++end;
    const QStringView rest = line.mid(from, end - from);
    qsizetype firstSpace = rest.indexOf(u' ');
    if (firstSpace < 0)
        firstSpace = rest.size();
    if (!looksLikeFile(rest.left(firstSpace))) {
        m_stack.append(QString());
        return from;
    }
    for (qsizetype length = rest.size(); length > firstSpace; length = rest.lastIndexOf(u' ', length - 1)) {
        const QString name = rest.left(length).trimmed().toString();
        if (m_files.isFile(m_dir.absoluteFilePath(name))) {
            m_stack.append(name);
            return from + length;
        }
    }
    m_stack.append(rest.left(firstSpace).toString());
    return from + firstSpace;
}
