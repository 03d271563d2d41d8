#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

// Open and save panels. Tests queue the answers: setNextFileName() for a chosen path (an
// empty name stands for a cancelled panel), setNextPanelHandler() for a function that gets
// the prepared panel (with its accessory view) before it would be shown, may work its
// controls, and returns the chosen path or "" to cancel. Answers are taken in queue order.
namespace Panels {
using PanelHandler = std::function<QString(QFileDialog *panel)>;

QString openFile(QWidget *parent, const QString &title, const QStringList &suffixes,
                 const QString &startDir = {});
void setNextFileName(const QString &path);
void setNextPanelHandler(PanelHandler handler);
bool hasPendingFileName();
// Takes the next queued name, if any (for panels with accessory views).
std::optional<QString> takeNextFileName();
// Takes the next queued answer and gives it the panel (which may be null).
std::optional<QString> takeNextAnswer(QFileDialog *panel);
} // namespace Panels
