#include "editorlauncher.h"

#include "document/helpers/editorcommand.h"
#include "platform/alerts.h"
#include "platform/desktopopener.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QFileInfo>
#include <QProcess>

namespace EditorLauncher {
namespace {
bool startEditor(const QStringList &arguments, const QString &workingDir) {
    if (arguments.value(0).isEmpty())
        return false;
    QProcess editor;
    editor.setProgram(arguments.first());
    editor.setArguments(arguments.mid(1));
    editor.setWorkingDirectory(workingDir);
    // The editor lives on after Quireon; its chatter is not Quireon's to print.
    editor.setStandardInputFile(QProcess::nullDevice());
    editor.setStandardOutputFile(QProcess::nullDevice());
    editor.setStandardErrorFile(QProcess::nullDevice());
    return editor.startDetached();
}

bool failed(const QString &message) {
    Alerts::runAlert(Text::localized("EditorErrorHeader"), message);
    return false;
}
} // namespace

bool open(const SourceLocation &location, const QString &workingDir) {
    if (!QFileInfo(location.file).isFile()) {
        Alerts::runAlert(Text::localized("SourceMissingHeader"),
                         Text::format("SourceMissingMessage", {location.file}));
        return false;
    }
    const QString command = gQuireonPrefs->editorCommand();
    if (command.trimmed().isEmpty())
        return DesktopOpener::openFile(location.file);
    const std::optional<QStringList> arguments =
        EditorCommand::arguments(command, location.file, location.line);
    if (!arguments)
        return failed(Text::format("EditorQuoteMessage", {command}));
    return startEditor(*arguments, workingDir) ||
           failed(Text::format("EditorErrorMessage", {arguments->value(0)}));
}
} // namespace EditorLauncher
