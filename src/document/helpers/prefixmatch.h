#pragma once

#include <QString>
#include <QStringList>

// Whether the line begins with one of the entries, tried in order. The comparison is
// exact and case-sensitive against the very start of the line; an empty entry never
// matches.
bool checkError(QStringView line, const QStringList &strings);

// The line without TeX's terminal prompts "? " in front: TeX prints its prompt without a
// newline and the input text answers it, so the next message follows it on the same line.
QStringView withoutTexPrompt(QStringView line);
