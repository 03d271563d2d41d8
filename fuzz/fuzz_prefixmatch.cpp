// Prefix matching of log lines. Input: the prefix list, one entry a line, up to the first
// empty line; then log text, cut into lines that keep their \n as the log scanner does.
// Checks every line against a character-by-character comparison.
#include "fuzzsupport.h"

#include "document/helpers/prefixmatch.h"

#include <QStringList>

namespace {
bool beginsWith(QStringView line, const QString &entry) {
    if (entry.isEmpty() || entry.size() > line.size())
        return false;
    for (qsizetype i = 0; i < entry.size(); ++i)
        if (line[i] != entry[i])
            return false;
    return true;
}

bool anyEntryBegins(QStringView line, const QStringList &entries) {
    for (const QString &entry : entries)
        if (beginsWith(line, entry))
            return true;
    return false;
}

void checkLine(QStringView line, const QStringList &entries) {
    const bool found = checkError(line, entries);
    Fuzz::check(found == anyEntryBegins(line, entries),
                "a line matches exactly when a non-empty entry is its beginning", [&] {
                    return Fuzz::shown(line) + QStringLiteral(" with ") +
                           Fuzz::shown(entries.join(u'|'));
                });
    if (found) {
        // A match reads only the start of the line, so a longer line still matches.
        const QString longer = line.toString() + QStringLiteral("tail\n");
        Fuzz::check(checkError(longer, entries), "a longer line keeps its match",
                    [&] { return Fuzz::shown(line); });
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString input = QString::fromUtf8(Fuzz::bytes(data, size));
    qsizetype logStart = input.indexOf(QStringLiteral("\n\n"));
    logStart = logStart < 0 ? input.size() : logStart + 2;
    const QStringList entries = input.left(qMax<qsizetype>(0, logStart - 2)).split(u'\n');

    // Lines are views into the whole log text, as the scanner hands them on.
    const QString log = input.mid(logStart);
    for (qsizetype from = 0; from < log.size();) {
        const qsizetype newline = log.indexOf(u'\n', from);
        const qsizetype end = newline < 0 ? log.size() : newline + 1;
        checkLine(QStringView(log).mid(from, end - from), entries);
        from = end;
    }
    checkLine(QStringView(), entries);
    return 0;
}
