#pragma once

#include <QSize>
#include <QString>
#include <optional>

// The heights of a floating document window and the remembered document-window size.
namespace FloatingGeometry {
// A band is the full height less the bottom part with the buttons.
constexpr int kBandCut = 85;
// A strip shows the top row only: status, counters and the Start/Stop button.
constexpr double kStripHeight = 66.0;
constexpr QSize kMaxContentSize{488, 2400};
constexpr int kMouseCheckMilliseconds = 100;

// The full height kept while a window is reduced: truncated toward zero.
int savedHeightOf(double frameHeight);
// The height that a "Window Contents" value prescribes: 0 the full height, 1 a band,
// 2 a band while the floating timer is active and a strip after it, 3 a strip.
// Nothing for any other value.
std::optional<double> heightForContents(int contents, int savedHeight, bool floatingTimerActive);

// The text form of a size kept under "Document Window Size": "{width, height}".
QString sizeToText(const QSize &size);
// Reads that form back. Anything else, and sizes that are not positive, give nothing.
std::optional<QSize> sizeFromText(const QString &text);
} // namespace FloatingGeometry
