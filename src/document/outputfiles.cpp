// Output files of the root file: opening them with the desktop's default application and
// clearing the auxiliary ones after a confirmation sheet.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "document/helpers/outputfiles.h"
#include "document/helpers/rootpaths.h"
#include "platform/alerts.h"
#include "platform/desktopopener.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QFile>
#include <QFileInfo>

bool MyDocument::openFileOfIndex(int index) {
    const QString ext = gQuireonPrefs->openExtAtIndex(index);
    const QString path = outputPath(m_basePath, ext);
    const QString name = m_basename + QLatin1Char('.') + ext;
    appendALogLine(promptPrefix + QStringLiteral("open ") + name + QLatin1Char('\n'));
    const QString fileName = QFileInfo(path).fileName();
    // The desktop answers later when no application takes the file.
    if (DesktopOpener::openFile(path, this, [this, fileName] { reportOpenFailure(fileName); }))
        return true;
    reportOpenFailure(fileName);
    return false;
}

void MyDocument::reportOpenFailure(const QString &fileName) {
    Alerts::runAlert(Text::localized("OpenButtonErrorHeader"),
                     Text::format("OpenButtonErrorMessage", {fileName}));
    appendALogLine(Text::localized("OpenButtonErrorLog"));
}

void MyDocument::openSingleFileOfIndex(int index) {
    if (isRunning())
        return;
    prepareToRun(false);
    openFileOfIndex(index);
    resumeFromRun(false);
}

void MyDocument::clearFiles() {
    if (isRunning())
        return;
    const QString list =
        OutputFiles::extensionsInUse(gQuireonPrefs->outputExtArray()).join(QStringLiteral(", "));
    Alerts::beginSheet(
        m_myWindow.get(), Text::localized("ClearFileHeader"),
        Text::format("ClearFileMessage", {list}), Text::localized("Cancel"),
        Text::localized("Clear"), [this](int returnCode) { clearFilesSheetDidEnd(returnCode); },
        false, true);
}

// Only regular files and symbolic links go: a folder that happens to carry an output
// file's name is the user's, not a tool's, and is left with its contents.
void MyDocument::clearFilesSheetDidEnd(int returnCode) {
    // Files a running tool is writing are not pulled away from under it.
    if (returnCode == Alerts::DefaultReturn || isRunning())
        return;
    const QStringList paths =
        OutputFiles::clearablePaths(m_rootFilePath, m_basePath, gQuireonPrefs->outputExtArray());
    for (const QString &path : paths) {
        const QFileInfo file(path);
        if (file.isSymLink() || file.isFile())
            QFile::remove(path);
    }
    enableButtons(true);
}
