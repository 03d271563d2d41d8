#include "floatinggeometry.h"

#include <QRegularExpression>
#include <cmath>

namespace FloatingGeometry {

int savedHeightOf(double frameHeight)
{
    return int(std::trunc(frameHeight));
}

std::optional<double> heightForContents(int contents, int savedHeight, bool floatingTimerActive)
{
    const double band = double(savedHeight - kBandCut);
    switch (contents) {
    case 0:
        return double(savedHeight);
    case 1:
        return band;
    case 2:
        return floatingTimerActive ? band : kStripHeight;
    case 3:
        return kStripHeight;
    default:
        return std::nullopt;
    }
}

QString sizeToText(const QSize &size)
{
    return QStringLiteral("{%1, %2}").arg(size.width()).arg(size.height());
}

// Window sizes beyond this are damage in the store, not a size a user gave a window.
constexpr double kLargestStoredSide = 100000.0;

static std::optional<int> sideFromText(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 1.0 || value > kLargestStoredSide)
        return std::nullopt;
    return int(value);
}

std::optional<QSize> sizeFromText(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<int> width = sideFromText(match.captured(1));
    const std::optional<int> height = sideFromText(match.captured(2));
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}
} // namespace FloatingGeometry
