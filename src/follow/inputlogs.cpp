#include "inputlogs.h"

#include <QDir>

namespace InputLogs {
namespace {
void addOnce(QStringList &names, const QString &name) {
    if (!name.isEmpty() && !names.contains(name))
        names.append(name);
}

// TeX quotes a name that holds spaces in some messages ("\openout1 = `"a b.aux"'.").
QString unquoted(QStringView name) {
    if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"')
        name = name.sliced(1, name.size() - 2);
    return name.toString();
}

// Where a name TeX printed after "(" may end: before a space, a bracket or a
// parenthesis that TeX prints right after it, or at the end of the line.
bool endsOpenedName(QChar c) {
    return c == u' ' || c == u')' || c == u'(' || c == u'[' || c == u'{' || c == u'<';
}

// The longest candidate of rest (a line's text after the opening character) that is a
// file; candidates end where stop says a name may end. Empty when none is.
QString longestFile(QStringView rest, bool (*stop)(QChar), const IsFile &isFile) {
    for (qsizetype end = rest.size(); end > 0; --end) {
        if (end < rest.size() && !stop(rest[end]))
            continue;
        const QString name = unquoted(rest.first(end));
        if (isFile(name))
            return name;
    }
    return {};
}

// Ordinary text in parentheses ("(see chapter 2)", "(type pdf)") is not a path: TeX
// prints a file it opens with "./", "../" or "/" in front, or in quotes.
bool looksLikeOpenedPath(QStringView rest) {
    if (rest.startsWith(u'"'))
        rest = rest.sliced(1);
    return rest.startsWith(u"./") || rest.startsWith(u"../") || rest.startsWith(u'/');
}

void readParenthesised(QStringView line, const IsFile &isFile, QStringList &names) {
    for (qsizetype at = line.indexOf(u'('); at >= 0; at = line.indexOf(u'(', at + 1)) {
        const QStringView rest = line.sliced(at + 1);
        if (looksLikeOpenedPath(rest))
            addOnce(names, longestFile(rest, endsOpenedName, isFile));
    }
}

// Counted without building the bytes: this runs for every line of a long log.
qsizetype utf8Size(QStringView text) {
    qsizetype bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : (c.unicode() < 0x800 || c.isSurrogate()) ? 2 : 3;
    return bytes;
}

bool endsGraphicName(QChar c) { return c == u'>' || c == u',' || c == u' '; }

void readAngled(QStringView line, const IsFile &isFile, QStringList &names) {
    for (qsizetype at = line.indexOf(u'<'); at >= 0; at = line.indexOf(u'<', at + 1)) {
        QStringView rest = line.sliced(at + 1);
        if (rest.startsWith(u"use "))
            rest = rest.sliced(4);
        const qsizetype close = rest.indexOf(u'>');
        if (close > 0)
            addOnce(names, longestFile(rest.first(close), endsGraphicName, isFile));
    }
}

// "File: figs/a.eps Graphic file (type eps)"
void readGraphicFileLine(QStringView line, QStringList &names) {
    static const QLatin1StringView kStart("File: ");
    static const QLatin1StringView kGraphic(" Graphic file (type ");
    const qsizetype graphic = line.indexOf(kGraphic);
    if (line.startsWith(kStart) && graphic > kStart.size())
        addOnce(names, line.sliced(kStart.size(), graphic - kStart.size()).toString());
}
} // namespace

Recorded recorderFile(QStringView text) {
    Recorded recorded;
    QDir pwd;
    for (QStringView line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(u"PWD ")) {
            pwd.setPath(line.sliced(4).toString());
        } else if (line.startsWith(u"INPUT ")) {
            addOnce(recorded.inputs, QDir::cleanPath(pwd.absoluteFilePath(line.sliced(6).toString())));
        } else if (line.startsWith(u"OUTPUT ")) {
            addOnce(recorded.outputs, QDir::cleanPath(pwd.absoluteFilePath(line.sliced(7).toString())));
        }
    }
    return recorded;
}

QStringList wrappedLines(QStringView text) {
    QStringList joined;
    QString current;
    bool continued = false;
    for (const QStringView line : text.split(u'\n')) {
        current += line;
        // A line of fewer characters may still fill the width in bytes.
        const bool full = line.size() == kTexLineWidth
                          || (line.size() < kTexLineWidth && utf8Size(line) == kTexLineWidth);
        if (full) {
            continued = true;
            continue;
        }
        if (continued)
            joined.append(current);
        current.clear();
        continued = false;
    }
    if (continued)
        joined.append(current);
    return joined;
}

QStringList texLogReads(QStringView text, const IsFile &isFile) {
    QStringList names;
    const auto read = [&](QStringView line) {
        readParenthesised(line, isFile, names);
        readAngled(line, isFile, names);
        readGraphicFileLine(line, names);
    };
    // A line that TeX broke is read whole as well as in its pieces: a full line may also
    // just happen to end where the next begins with other text.
    for (const QStringView line : text.split(u'\n'))
        read(line);
    for (const QString &line : wrappedLines(text))
        read(line);
    return names;
}

QStringList texLogWrites(QStringView text) {
    QStringList names;
    for (const QStringView line : text.split(u'\n')) {
        if (!line.startsWith(u"\\openout"))
            continue;
        const qsizetype open = line.indexOf(u'`');
        const qsizetype close = line.lastIndexOf(u"'.");
        if (open >= 0 && close > open)
            addOnce(names, unquoted(line.sliced(open + 1, close - open - 1)));
    }
    return names;
}

QStringList bibtexLogReads(QStringView text) {
    QStringList names;
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u"Database file #")) {
            const qsizetype colon = line.indexOf(u": ");
            if (colon > 0)
                addOnce(names, line.sliced(colon + 2).toString());
        } else if (line.startsWith(u"The style file: ")) {
            addOnce(names, line.sliced(16).toString());
        }
    }
    return names;
}

QStringList makeindexLogReads(QStringView text, const IsFile &isFile) {
    static const QLatin1StringView kStyle("Scanning style file ");
    QStringList names;
    for (const QStringView line : text.split(u'\n')) {
        if (!line.startsWith(kStyle))
            continue;
        // The name runs into the progress dots: "./style.ist.done" or "./a.ist....done".
        QStringView rest = line.sliced(kStyle.size());
        const qsizetype done = rest.lastIndexOf(u"done");
        if (done < 0)
            continue;
        rest = rest.first(done);
        while (rest.endsWith(u'.') && !isFile(rest.toString()))
            rest.chop(1);
        if (isFile(rest.toString()))
            addOnce(names, rest.toString());
    }
    return names;
}
} // namespace InputLogs
