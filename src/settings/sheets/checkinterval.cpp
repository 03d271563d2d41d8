#include "checkinterval.h"

#include <limits>

namespace CheckInterval {
int leadingInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    qint64 value = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text[i].isDigit(); ++i)
        value = std::min(limit, value * 10 + text[i].digitValue());
    value = negative ? -value : std::min(value, limit - 1);
    return int(value);
}

std::optional<int> accepted(const QString &text)
{
    const int value = leadingInteger(text);
    if (value < 1 || value > kMaximum)
        return std::nullopt;
    return value;
}
} // namespace CheckInterval
