// Auto mode's check: each tick of the check timer compares the root file's stamp with the
// one recorded at the last automatic start and starts the auto procedure on a change.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "platform/alerts.h"
#include "settings/localizedtext.h"

#include <QTimer>

void MyDocument::timerProc() {
    // A re-check of a missing root file is pending, or the missing-root alert is up.
    if (missingRootChecks > 0 || rootAlertUp)
        return;
    checkRootFile();
}

// Editors that save by removing the file and writing it anew (vim's backup-then-write)
// leave a short gap without it: a missing root file is looked for again a few times on
// short single-shot timers before auto mode reports it and switches off.
void MyDocument::checkRootFile() {
    if (isRunning() || !autoRunMode || !checkTimer) {
        missingRootChecks = 0;
        return;
    }
    if (!FileStamp::of(m_rootFilePath) && missingRootChecks < kMissingRootRechecks) {
        ++missingRootChecks;
        QTimer::singleShot(kMissingRootRecheckMs, this, &MyDocument::checkRootFile);
        return;
    }
    missingRootChecks = 0;
    const std::optional<FileStamp> stamp = getLastModified();
    if (stamp == lastModified)
        return;
    lastModified = stamp;
    startAutoProcedure();
}

std::optional<FileStamp> MyDocument::getLastModified() {
    if (const std::optional<FileStamp> stamp = FileStamp::of(m_rootFilePath))
        return stamp;
    rootAlertUp = true;
    Alerts::runAlert(Text::localized("RootMissingHeader"),
                     Text::format("RootMissingMessage", {m_rootFilePath}));
    rootAlertUp = false;
    ui->checkAutoMode->setChecked(false);
    autoRunMode = false;
    return lastModified;
}
