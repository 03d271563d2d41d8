#include "settingsrepair.h"

#include <QFile>
#include <QSaveFile>

namespace SettingsRepair {
namespace {
constexpr int kMostCopies = 100;

bool isUnreadable(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    return text.startsWith('[') && !text.contains(']');
}
} // namespace

QString keepCopy(const QString &path)
{
    const QString base = path + QStringLiteral(".unreadable");
    for (int n = 0; n < kMostCopies; ++n) {
        const QString copy = n == 0 ? base : base + QLatin1Char('.') + QString::number(n);
        if (QFile::exists(copy))
            continue;
        return QFile::copy(path, copy) ? copy : QString();
    }
    return QString();
}

bool dropUnreadableLines(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray kept;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        if (!isUnreadable(line))
            kept += line;
    }
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(kept) == kept.size() && out.commit();
}
} // namespace SettingsRepair
