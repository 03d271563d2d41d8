// Auto mode's check: each tick of the check timer, and each burst of file notifications,
// compares the stamps of the root file and the followed files with those recorded at the
// last automatic start and starts the auto procedure on a change, or, once after opening,
// when the PDF is behind its sources (openbuild.cpp).
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "follow/followedfiles.h"
#include "platform/alerts.h"
#include "settings/localizedtext.h"
#include "window/mywindow.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

void MyDocument::timerProc() {
    // A re-check of a missing root file is pending or the missing-root alert is up; or a
    // sheet on the window waits for the user, who may be about to clear the outputs; or any
    // alert or panel of Quireon is up: a run started inside its event loop would be judged
    // and shown as if the alert were part of it. The stamp is left alone, so a change made
    // meanwhile starts the procedure at the first check after it closes.
    if (missingRootChecks > 0 || rootAlertUp || sheetIsUp())
        return;
    checkRootFile();
}

// Editors that save by removing the file and writing it anew (vim's backup-then-write)
// leave a short gap without it: a missing file is looked for again a few times on short
// single-shot timers; then a missing root file is reported and switches auto mode off,
// while a followed file that stays missing is taken as gone until it comes back.
void MyDocument::checkRootFile() {
    if (isRunning() || !autoRunMode || !checkTimer || sheetIsUp()) {
        missingRootChecks = 0;
        return;
    }
    const FollowedFiles::Look inputs = followedFiles->look();
    if ((inputs.missing || !FileStamp::of(m_rootFilePath)) &&
        missingRootChecks < kMissingRootRechecks) {
        ++missingRootChecks;
        QTimer::singleShot(kMissingRootRecheckMs, this, &MyDocument::checkRootFile);
        return;
    }
    missingRootChecks = 0;
    if (inputs.missing)
        followedFiles->recordMissing();
    const std::optional<FileStamp> stamp = getLastModified();
    QString changed = stamp != lastModified ? m_rootFilePath : inputs.changed;
    if (!autoRunMode)
        return;
    if (changed.isEmpty()) {
        // Nothing was saved since the last look; a document just opened may still be behind.
        const std::optional<QString> stale = takeOpenBuild();
        if (!stale)
            return;
        changed = *stale;
    }
    lastModified = stamp;
    followedFiles->record();
    startAutoProcedure(changed);
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

// Any modal alert or sheet of Quireon holds automatic starts back: a run started inside an
// alert's own event loop would be taken for finished when the alert's caller goes on.
bool MyDocument::sheetIsUp() const {
    if (QApplication::activeModalWidget())
        return true;
    const QList<QDialog *> dialogs = m_myWindow->findChildren<QDialog *>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QDialog *dialog) {
        return dialog->isVisible() && dialog->windowModality() != Qt::NonModal;
    });
}
