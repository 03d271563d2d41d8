#include "panels.h"

#include <QFileDialog>
#include <QQueue>

namespace Panels {
namespace {
QQueue<PanelHandler> gAnswers;
}

std::optional<QString> takeNextAnswer(QFileDialog *panel)
{
    if (gAnswers.isEmpty())
        return std::nullopt;
    return gAnswers.dequeue()(panel);
}

std::optional<QString> takeNextFileName()
{
    return takeNextAnswer(nullptr);
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
    gAnswers.enqueue([path](QFileDialog *) { return path; });
}

void setNextPanelHandler(PanelHandler handler)
{
    gAnswers.enqueue(std::move(handler));
}

bool hasPendingFileName()
{
    return !gAnswers.isEmpty();
}
} // namespace Panels
