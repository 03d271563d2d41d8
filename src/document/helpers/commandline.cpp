#include "commandline.h"

namespace CommandLine {

QString substituteBasename(const QString &line, const QString &basename) {
    // QString::replace continues after the inserted text, never scanning it again.
    return QString(line).replace(QLatin1String("%1"), basename);
}

QStringList arguments(const QString &line, const QString &basename) {
    return substituteBasename(line, basename).split(QLatin1Char(' '), Qt::KeepEmptyParts);
}
} // namespace CommandLine
