#pragma once

// Shared pieces of the fuzz targets: how an input is cut into fields, and a check that
// reports a broken property with the values involved before aborting, so libFuzzer keeps
// the input as a crash.
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input up to its first \n, and the rest after it (empty without a \n).
struct Split {
    QByteArray head;
    QByteArray rest;
};

inline Split splitFirstLine(const QByteArray &input) {
    const qsizetype newline = input.indexOf('\n');
    if (newline < 0)
        return {input, {}};
    return {input.left(newline), input.mid(newline + 1)};
}

[[noreturn]] inline void fail(const char *property, const QString &detail) {
    std::fprintf(stderr, "property broken: %s\n%s\n", property, qPrintable(detail));
    std::abort();
}

// detail is a callable giving the text of the report; it is built only on failure, so
// checks stay cheap on the fuzzing path.
template <typename Detail> void check(bool holds, const char *property, Detail &&detail) {
    if (!holds)
        fail(property, detail());
}

// A value shown with its UTF-16 code units escaped, so the report shows what was compared.
inline QString shown(QStringView text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() > 0x7e
                   ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                   : QString(c);
    return out + QLatin1Char('"');
}
} // namespace Fuzz
