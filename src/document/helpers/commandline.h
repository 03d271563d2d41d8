#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {
// A command line split at every single space (no quoting, no trimming: two spaces in a
// row give an empty word), as every command line of Quireon is.
QStringList words(const QString &line);
// The argument list of a command line. The line is split into words first, then every
// "%1" of each word is replaced by basename, left to right, inserted text not searched
// again. So the base name is always one argument or part of one, whatever it holds. A word
// that would begin with a base name beginning with "-" gets "./" before it, so that no tool
// takes the file for an option. Element 0 is the launch path.
QStringList arguments(const QString &line, const QString &basename);
} // namespace CommandLine
