#pragma once

#include <QString>
#include <optional>

namespace CheckInterval {
// The longest interval whose milliseconds still fit a timer's int.
constexpr int kMaximum = 2147483;

// The leading integer of a text: leading blanks skipped, an optional sign, then digits up
// to the first other character ("2.9" is 2, " 5" is 5, "abc" and "" are 0). Values
// beyond the int range are clamped to it.
int leadingInteger(const QString &text);
// The interval the text stands for, when it is from 1 to kMaximum seconds.
std::optional<int> accepted(const QString &text);
} // namespace CheckInterval
