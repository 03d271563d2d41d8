#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The argument list that opens a file at a line in the user's editor, from a command line
// such as "emacsclient +%l %f", "code -g %f:%l" or '"/opt/my editor/ed" "%f"'. The line is
// split into words as a shell would (quotes and backslashes, see ShellWords), without a
// shell; then "%f" becomes the file and "%l" the line inside each word, so a file name
// stays one argument whatever it holds. A command without "%f" gets the file as its last
// word. Element 0 is the program. Nothing when a quote of the command is never closed.
namespace EditorCommand {
std::optional<QStringList> arguments(const QString &command, const QString &file, int line);
}
