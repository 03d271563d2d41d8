#pragma once

#include <QString>
#include <functional>

class QObject;

// Opens a file with the desktop's default application (xdg-open). A file that does not
// exist is refused before the desktop is asked. Tests replace the opener.
namespace DesktopOpener {
// False when the file is refused at once. The desktop may still fail later (no
// application for the file's type): then `failed` runs, unless `context` is gone.
bool openFile(const QString &path, QObject *context, std::function<void()> failed);
bool openFile(const QString &path);
// A replacement desktop answers at once.
using Opener = std::function<bool(const QString &path)>;
// Replaces the desktop; an empty function restores it.
void setOpener(Opener opener);
} // namespace DesktopOpener
