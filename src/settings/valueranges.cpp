#include "valueranges.h"

#include "prefkeys.h"
#include "sheets/checkinterval.h"

#include <limits>

namespace ValueRanges {
namespace {
// The transparency slider stops at 0.9, so a floating window stays visible.
constexpr double kMostTransparency = 0.9;
// "Window Contents": full window, band, band then strip, strip.
constexpr double kLastContentsLevel = 3;
} // namespace

Range rangeOf(const QString &key)
{
    if (key == Key::CheckInterval)
        return {1, CheckInterval::kMaximum};
    if (key == Key::WindowContents)
        return {0, kLastContentsLevel};
    if (key == Key::WindowTransparency)
        return {0, kMostTransparency};
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {-inf, inf};
}

QVariant clamped(const QString &key, const QVariant &value)
{
    const Range range = rangeOf(key);
    const double v = value.toDouble();
    if (v >= range.lowest && v <= range.highest)
        return value;
    const double end = v > range.highest ? range.highest : range.lowest;
    QVariant out = end;
    out.convert(value.metaType());
    return out;
}
} // namespace ValueRanges
