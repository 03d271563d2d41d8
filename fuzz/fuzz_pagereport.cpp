// Page strings and page reports. Input: the page string, a newline, then log text cut into
// lines that keep their \n. Checks the shape of the page string, the page count of every
// line against a direct reading of the shapes table, and the integer reading against strtoll.
#include "fuzzsupport.h"

#include "document/helpers/pagereport.h"

#include <QList>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>

namespace {
// The integer reading done by the C library on a plain-ASCII copy of the text: every
// Unicode white space becomes ' ', every decimal digit its ASCII digit, anything else 'x'.
int intValueByStrtoll(QStringView text) {
    QByteArray ascii;
    for (QChar c : text) {
        if (c.isDigit()) {
            Fuzz::check(c.digitValue() >= 0 && c.digitValue() <= 9, "a digit has a value 0 to 9",
                        [&] { return Fuzz::shown(QStringView(&c, 1)); });
            ascii += char('0' + c.digitValue());
        } else if (c.isSpace()) {
            ascii += ' ';
        } else {
            ascii += (c == u'+' || c == u'-') ? char(c.unicode()) : 'x';
        }
    }
    const long long value = std::strtoll(ascii.constData(), nullptr, 10);
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool allDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

qsizetype lastOccurrence(QStringView line, QStringView needle) {
    for (qsizetype at = line.size() - needle.size(); at >= 0; --at)
        if (line.mid(at, needle.size()) == needle)
            return at;
    return -1;
}

// The number text that the shapes table cuts from the line, or nothing when the shape
// gives no answer.
std::optional<QStringView> numberText(QStringView line, const PageShape &shape) {
    const QStringView prefix = shape.pagePrefix;
    const QStringView suffix = shape.pageSuffix;
    qsizetype from = 0;
    qsizetype to = 0;
    switch (shape.suffixPrefix) {
    case 0:
    case 1: {
        const qsizetype at = lastOccurrence(line, prefix);
        if (at < 0)
            return std::nullopt;
        from = to = at + prefix.size();
        if (shape.suffixPrefix == 0) {
            const qsizetype suffixAt = line.mid(from).indexOf(suffix);
            to = suffixAt < 0 ? line.size() : from + suffixAt;
        } else {
            while (to < line.size() && line[to].isDigit())
                ++to;
        }
        break;
    }
    case 2:
    case 3:
        to = shape.suffixPrefix == 2 ? lastOccurrence(line, suffix) : line.size();
        if (shape.suffixPrefix == 3) {
            while (to > 0 && !line[to - 1].isDigit())
                --to;
            if (to == 0)
                return std::nullopt;
        }
        if (to < 0)
            return std::nullopt;
        from = to;
        while (from > 0 && line[from - 1].isDigit())
            --from;
        break;
    default:
        return std::nullopt;
    }
    return line.mid(from, to - from);
}

void checkLine(QStringView line, const PageShape &shape) {
    const auto detail = [&] {
        return Fuzz::shown(line) + QStringLiteral(" with shape %1 ").arg(shape.suffixPrefix) +
               Fuzz::shown(shape.pagePrefix) + Fuzz::shown(shape.pageSuffix);
    };
    const int page = PageReport::checkPage(line, shape);
    const std::optional<QStringView> text = numberText(line, shape);
    Fuzz::check(page == (text ? intValueByStrtoll(*text) : -1),
                "page count as the shapes table reads it",
                [&] { return detail() + QStringLiteral(" gave %1").arg(page); });
    if (text && shape.suffixPrefix != 0) {
        Fuzz::check(allDigits(*text), "the number text of shapes 1 to 3 is digits only", detail);
        Fuzz::check(page >= 0, "a page count of digits only is not negative", detail);
    }
    Fuzz::check(PageReport::intValue(line) == intValueByStrtoll(line), "integer reading as strtoll",
                detail);
}

void checkShape(const QString &pageString, const std::optional<PageShape> &shape) {
    const qsizetype at = pageString.indexOf(QStringLiteral("%n"));
    const auto detail = [&] { return Fuzz::shown(pageString); };
    Fuzz::check(shape.has_value() == (at >= 0), "a page string counts exactly when it holds %n",
                detail);
    if (!shape)
        return;
    Fuzz::check(shape->pagePrefix + QStringLiteral("%n") + shape->pageSuffix == pageString &&
                    shape->pagePrefix.size() == at,
                "prefix and suffix are the text around the first %n", detail);
    const int expected = shape->pagePrefix.isEmpty() ? (shape->pageSuffix.isEmpty() ? 3 : 2)
                                                     : (shape->pageSuffix.isEmpty() ? 1 : 0);
    Fuzz::check(shape->suffixPrefix == expected,
                "the shape says which of prefix and suffix is empty", detail);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const Fuzz::Split input = Fuzz::splitFirstLine(Fuzz::bytes(data, size));
    const QString pageString = QString::fromUtf8(input.head);
    const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
    checkShape(pageString, shape);

    // The page string also serves as the prefix of shape 1 and the suffix of shape 2 (as
    // both of shape 0 when it lacks %n), and an unknown shape must answer -1. Shapes 0 to 2
    // never come with an empty prefix or suffix.
    QList<PageShape> shapes{PageShape{3, {}, {}}, PageShape{int(size % 7) + 4, pageString, {}}};
    if (!pageString.isEmpty())
        shapes << shape.value_or(PageShape{0, pageString, pageString})
               << PageShape{1, pageString, {}} << PageShape{2, {}, pageString};
    const QString log = QString::fromUtf8(input.rest);
    for (qsizetype from = 0; from < log.size();) {
        const qsizetype newline = log.indexOf(u'\n', from);
        const qsizetype end = newline < 0 ? log.size() : newline + 1;
        for (const PageShape &s : shapes)
            checkLine(QStringView(log).mid(from, end - from), s);
        from = end;
    }
    return 0;
}
