#include "panels.h"

#include <QFileDialog>
#include <QQueue>

namespace Panels {
namespace {
QQueue<QString> gNames;
}

std::optional<QString> takeNextFileName()
{
    if (gNames.isEmpty())
        return std::nullopt;
    return gNames.dequeue();
}

QString openFile(QWidget *parent, const QString &title, const QStringList &suffixes,
                 const QString &startDir)
{
    if (const std::optional<QString> name = takeNextFileName())
        return *name;
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix;
    QFileDialog dialog(parent, title, startDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!patterns.isEmpty())
        dialog.setNameFilter(patterns.join(u' '));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void setNextFileName(const QString &path)
{
    gNames.enqueue(path);
}

bool hasPendingFileName()
{
    return !gNames.isEmpty();
}
} // namespace Panels
