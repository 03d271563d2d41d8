#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {
// Every "%1" of the line replaced by basename, left to right; inserted text is not
// searched again.
QString substituteBasename(const QString &line, const QString &basename);
// The argument list of a command line: substituted, then split at every single space.
// No quoting and no trimming, so two spaces in a row give an empty argument and a base
// name with spaces becomes several arguments. Element 0 is the launch path.
QStringList arguments(const QString &line, const QString &basename);
} // namespace CommandLine
