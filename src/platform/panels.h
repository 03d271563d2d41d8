#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Open and save panels. Tests queue the chosen paths with setNextFileName(); an empty
// queued name stands for a cancelled panel.
namespace Panels {
QString openFile(QWidget *parent, const QString &title, const QStringList &suffixes,
                 const QString &startDir = {});
void setNextFileName(const QString &path);
bool hasPendingFileName();
// Takes the next queued name, if any (for panels with accessory views).
std::optional<QString> takeNextFileName();
} // namespace Panels
