#include "prefixmatch.h"

bool checkError(QStringView line, const QStringList &strings) {
    for (const QString &entry : strings)
        if (!entry.isEmpty() && line.startsWith(entry, Qt::CaseSensitive))
            return true;
    return false;
}

QStringView withoutTexPrompt(QStringView line) {
    while (line.startsWith(u"? "))
        line = line.mid(2);
    return line;
}
