#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Compares the problem lines (counted errors, warnings and notes) of two runs. What moves
// by itself when the source is edited (line numbers, page numbers, box sizes, badness,
// TeX's "? " prompt before a message) is left out, so an unchanged warning on a shifted
// line is the same warning.
namespace ProblemDiff {
QString normalized(const QString &line);

struct Result {
    QList<int> added; // indexes into the current lines
    int resolved = 0; // previous lines without a match among the current ones
};
// Each line matches at most one line of the other run.
Result compare(const QStringList &previous, const QStringList &current);
} // namespace ProblemDiff
