#include "pagereport.h"

#include <algorithm>
#include <limits>

namespace PageReport {

std::optional<PageShape> shapeOf(const QString &pageString) {
    const qsizetype at = pageString.indexOf(QLatin1String("%n"));
    if (at < 0)
        return std::nullopt;
    PageShape shape;
    shape.pagePrefix = pageString.left(at);
    shape.pageSuffix = pageString.mid(at + 2);
    const bool hasPrefix = !shape.pagePrefix.isEmpty();
    const bool hasSuffix = !shape.pageSuffix.isEmpty();
    shape.suffixPrefix = hasPrefix ? (hasSuffix ? 0 : 1) : (hasSuffix ? 2 : 3);
    return shape;
}

namespace {
// Where needle last begins inside line. The start position is given explicitly: Qt 6.4's
// lastIndexOf without one also tries one character past the end of a view, which in a
// chunk of output is the first character of the next line.
qsizetype lastIndexIn(QStringView line, QStringView needle) {
    if (needle.size() > line.size())
        return -1;
    return line.lastIndexOf(needle, line.size() - needle.size());
}

// Start of the run of digits that ends just before end.
qsizetype digitRunStart(QStringView line, qsizetype end) {
    qsizetype start = end;
    while (start > 0 && line[start - 1].isDigit())
        --start;
    return start;
}

int prefixAndSuffix(QStringView line, const PageShape &shape) {
    const qsizetype at = lastIndexIn(line, shape.pagePrefix);
    if (at < 0)
        return -1;
    const qsizetype from = at + shape.pagePrefix.size();
    const qsizetype to = line.indexOf(shape.pageSuffix, from);
    return intValue(to < 0 ? line.mid(from) : line.mid(from, to - from));
}

int prefixOnly(QStringView line, const PageShape &shape) {
    const qsizetype at = lastIndexIn(line, shape.pagePrefix);
    if (at < 0)
        return -1;
    const qsizetype from = at + shape.pagePrefix.size();
    qsizetype to = from;
    while (to < line.size() && line[to].isDigit())
        ++to;
    return intValue(line.mid(from, to - from));
}

int suffixOnly(QStringView line, const PageShape &shape) {
    const qsizetype at = lastIndexIn(line, shape.pageSuffix);
    if (at < 0)
        return -1;
    const qsizetype from = digitRunStart(line, at);
    return intValue(line.mid(from, at - from));
}

int lastNumber(QStringView line) {
    qsizetype end = line.size();
    while (end > 0 && !line[end - 1].isDigit())
        --end;
    if (end == 0)
        return -1;
    const qsizetype from = digitRunStart(line, end);
    return intValue(line.mid(from, end - from));
}
} // namespace

int checkPage(QStringView line, const PageShape &shape) {
    switch (shape.suffixPrefix) {
    case 0:
        return prefixAndSuffix(line, shape);
    case 1:
        return prefixOnly(line, shape);
    case 2:
        return suffixOnly(line, shape);
    case 3:
        return lastNumber(line);
    default:
        return -1;
    }
}

int intValue(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    // Accumulate the magnitude with a cap just past the 32-bit range, then clamp.
    constexpr qint64 cap = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size() && text[i].isDigit(); ++i)
        magnitude = std::min(cap, magnitude * 10 + text[i].digitValue());
    const qint64 value = negative ? -magnitude : magnitude;
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}
} // namespace PageReport
