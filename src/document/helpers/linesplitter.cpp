#include "linesplitter.h"

namespace LineSplitter {

QString takeCompleteLines(QString &fraction) {
    const qsizetype lastNewline = fraction.lastIndexOf(QLatin1Char('\n'));
    if (lastNewline < 0)
        return {};
    QString lines = fraction.left(lastNewline + 1);
    fraction.remove(0, lastNewline + 1);
    return lines;
}
} // namespace LineSplitter
