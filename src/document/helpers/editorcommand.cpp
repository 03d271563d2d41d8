#include "editorcommand.h"

#include "shellwords.h"

namespace EditorCommand {

std::optional<QStringList> arguments(const QString &command, const QString &file, int line) {
    std::optional<QStringList> words = ShellWords::split(command);
    if (!words)
        return std::nullopt;
    bool namesFile = false;
    for (QString &word : *words) {
        namesFile = namesFile || word.contains(QLatin1String("%f"));
        // Replacing "%l" first keeps a file name holding "%l" intact.
        word.replace(QLatin1String("%l"), QString::number(line));
        word.replace(QLatin1String("%f"), file);
    }
    if (!namesFile)
        words->append(file);
    return words;
}
} // namespace EditorCommand
