#pragma once

#include <QString>
#include <functional>

// Opens a file with the desktop's default application (xdg-open). A file that does not
// exist is refused before the desktop is asked. Tests replace the opener.
namespace DesktopOpener {
bool openFile(const QString &path);
using Opener = std::function<bool(const QString &path)>;
// Replaces the desktop; an empty function restores it.
void setOpener(Opener opener);
} // namespace DesktopOpener
