#pragma once

#include <QString>

// The folder for what a running Quireon shares with later launches of the same user (its
// socket and the socket's lock): the session's $XDG_RUNTIME_DIR, else "quireon-runtime"
// in the user's cache folder, made on first use. A folder counts only when it belongs to
// the user and is closed to everyone else, so that nobody can take the socket's place
// first or listen in; one open to others is refused, never repaired.
namespace RuntimeFolder {
// The folder's path; "" when neither is private, and then problem says why.
QString path(QString &problem);
}
