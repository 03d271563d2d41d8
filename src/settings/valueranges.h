#pragma once

#include <QString>
#include <QVariant>

// The ranges the preferences sheet allows for its numeric settings. A hand-edited file
// can hold anything; a value outside its range is brought to the nearest end on load
// (a transparency of 1.0 would make the floating window invisible, an interval of 0
// would poll without pause).
namespace ValueRanges {
struct Range {
    double lowest;
    double highest;
};
// The range of a key; an unbounded one for keys the sheet does not limit.
Range rangeOf(const QString &key);
// The value brought into its key's range, keeping its kind; other values unchanged.
// A number that is not a number at all (NaN) becomes the lowest value.
QVariant clamped(const QString &key, const QVariant &value);
} // namespace ValueRanges
