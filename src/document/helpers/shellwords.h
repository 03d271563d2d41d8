#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Words of a command line under the quoting rules of a POSIX shell, both ways, with no
// shell ever involved: nothing is expanded, and ";", "$", "*" or "~" are plain characters.
namespace ShellWords {
// Splits at runs of blanks (which make no empty words). Single quotes keep everything
// up to the next single quote; double quotes keep everything up to the next unescaped
// double quote, where a backslash escapes only '"', '\', '$' and '`'; elsewhere a
// backslash keeps the character after it. Quoted pieces and unquoted ones that touch
// form one word, and '' or "" make an empty word. Nothing when a quote is never closed
// or the line ends in a lone backslash: such a line is not guessed at.
std::optional<QStringList> split(const QString &line);
// The words joined by spaces for display, each one that a shell would not take as it
// is put in single quotes, so the line can be pasted into a terminal.
QString joined(const QStringList &words);
} // namespace ShellWords
