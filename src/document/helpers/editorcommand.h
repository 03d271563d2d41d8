#pragma once

#include <QString>
#include <QStringList>

// The argument list that opens a file at a line in the user's editor, from a command line
// such as "emacsclient +%l %f" or "code -g %f:%l". The line is split into words as the tool
// commands are; then "%f" becomes the file and "%l" the line inside each word, so a file
// name with spaces stays one argument. A command without "%f" gets the file as its last
// word. Element 0 is the program.
namespace EditorCommand {
QStringList arguments(const QString &command, const QString &file, int line);
}
