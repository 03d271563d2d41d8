#pragma once

#include <QString>
#include <optional>

// A page string such as "(%n page" is cut at its first "%n" into the text before and the
// text after the page number; the shape says which of the two is empty:
// 0 both present, 1 prefix only, 2 suffix only, 3 neither ("%n" alone).
struct PageShape {
    int suffixPrefix = 0;
    QString pagePrefix;
    QString pageSuffix;
};

namespace PageReport {
// The shape of a page string; nothing when it is empty or holds no "%n" (no counting).
std::optional<PageShape> shapeOf(const QString &pageString);
// The page count that the line reports, or -1 when the shape finds no number text.
int checkPage(QStringView line, const PageShape &shape);
// Leading white space skipped, an optional sign, decimal digits up to the first other
// character; 0 without digits; clamped to the 32-bit range.
int intValue(QStringView text);
} // namespace PageReport
