// Auto mode follows the files the document read at its last run (chapters, bibliography
// databases, figures, a class of its own) besides the root file, and hears of their saves
// from the kernel at once; the check timer stays as the fallback for file systems that
// send no notifications.
#include "mydocument.h"

#include "follow/followedfiles.h"
#include "follow/projectinputs.h"
#include "settings/quireonprefs.h"

#include <QDir>

void MyDocument::setUpFollowing() {
    followedFiles = new FollowedFiles(this);
    connect(followedFiles, &FollowedFiles::settled, this, &MyDocument::followedFilesSettled);
}

// After every run and whenever the settings change: the run's own records tell which
// files it read. A save made while the run was going is seen by the check that follows;
// what the run's own steps wrote is not.
void MyDocument::learnInputs(bool afterRun) {
    followedFiles->setRoot(m_rootFilePath);
    const QStringList inputs =
        gQuireonPrefs->followInputs() && !m_rootFilePath.isEmpty()
            ? ProjectInputs::learn(m_rootFilePath, gQuireonPrefs->cmdCmdAtIndex(0),
                                   gQuireonPrefs->outputExtArray(), QDir::homePath())
            : QStringList();
    if (afterRun)
        followedFiles->followAfterRun(inputs);
    else
        followedFiles->follow(inputs);
    followedFiles->checkSoon();
}

void MyDocument::followedFilesSettled() {
    if (missingRootChecks > 0 || rootAlertUp)
        return;
    // A change made while an alert or sheet is up is taken up once it has closed.
    if (sheetIsUp())
        followedFiles->checkSoon();
    else
        checkRootFile();
}
