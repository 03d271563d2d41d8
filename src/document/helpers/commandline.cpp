#include "commandline.h"

namespace CommandLine {

QStringList words(const QString &line) {
    return line.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

QStringList arguments(const QString &line, const QString &basename) {
    const QLatin1String placeholder("%1");
    QStringList words = CommandLine::words(line);
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString &word = words[i];
        const bool leadingName =
            i > 0 && word.startsWith(placeholder) && basename.startsWith(u'-');
        // QString::replace continues after the inserted text, never scanning it again.
        word.replace(placeholder, basename);
        if (leadingName)
            word.prepend(QLatin1String("./"));
    }
    return words;
}
} // namespace CommandLine
