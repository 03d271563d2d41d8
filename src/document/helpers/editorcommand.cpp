#include "editorcommand.h"

#include "commandline.h"

namespace EditorCommand {

QStringList arguments(const QString &command, const QString &file, int line) {
    QStringList words = CommandLine::words(command);
    const bool namesFile = command.contains(QLatin1String("%f"));
    for (QString &word : words) {
        // Replacing "%l" first keeps a file name holding "%l" intact.
        word.replace(QLatin1String("%l"), QString::number(line));
        word.replace(QLatin1String("%f"), file);
    }
    if (!namesFile)
        words.append(file);
    return words;
}
} // namespace EditorCommand
