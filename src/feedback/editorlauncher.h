#pragma once

#include "document/helpers/sourcelocator.h"

#include <QString>

// Opens a place in a source file in the user's editor ("Editor Command"), started without
// a shell in the given folder, or with the desktop's handler, without the line, when no
// editor is set. A missing file, an editor command with a quote left open or an editor
// that cannot start gets an alert.
namespace EditorLauncher {
bool open(const SourceLocation &location, const QString &workingDir);
}
