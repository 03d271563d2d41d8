// The build at opening: a document opened in auto mode whose PDF is missing, or older than
// its root file or a file its last run read, runs the auto procedure once, as a save
// would, so that the window shows a current log and the viewer a current PDF without a
// save first. A document whose PDF is current is left alone.
#include "mydocument.h"

#include "follow/outputcurrency.h"
#include "settings/quireonprefs.h"

#include <QDir>
#include <QTimer>

// Looked at from the event loop, so that the window is up before a run shows in it; auto
// mode's check takes it, which waits while an alert or sheet is up and tries again at its
// next tick.
void MyDocument::scheduleOpenBuild() {
    if (!autoRunMode || !s_buildWhenOpened)
        return;
    openBuildPending = true;
    QTimer::singleShot(0, this, &MyDocument::checkRootFile);
}

// Once only: nullopt when no build at opening is due, else the file that makes the PDF
// out of date (empty when there is no PDF).
std::optional<QString> MyDocument::takeOpenBuild() {
    if (!std::exchange(openBuildPending, false))
        return std::nullopt;
    return OutputCurrency::pdfStaleBecause(m_rootFilePath, gQuireonPrefs->cmdCmdAtIndex(0),
                                           gQuireonPrefs->outputExtArray(), QDir::homePath());
}
