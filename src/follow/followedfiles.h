#pragma once

#include "document/helpers/filestamp.h"
#include "runwrites.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

// The files a document follows besides its root file, with the stamp each had when it
// was last recorded, and the kernel's notifications about them. Editors save by writing
// a new file and renaming it over the old one, which ends the watch on the old file, so
// the folders are watched too and a replaced file is watched anew; so is the nearest
// folder left of a file that is gone with its folder, to hear of its return. A burst of
// notifications (one save writes, closes, renames) settles into one signal.
class FollowedFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 100;
    // How often a check that had to wait (an alert was up) is tried again.
    static constexpr int kRetryMs = 250;

    explicit FollowedFiles(QObject *parent = nullptr);

    // The root file is watched so that its saves are seen at once; its stamp is the
    // document's own business.
    void setRoot(const QString &rootFilePath);
    // Follows exactly these files from now on. A file followed already keeps the stamp
    // recorded for it; a new one is taken as it is now.
    void follow(const QStringList &paths);
    // The same after a run, whose steps writes() has seen. A file that a step of the run
    // wrote is taken as it is now: a run's own outputs are no reason for another. Any other
    // change made since the run started still counts, for new files too: a save made while
    // the run was going is seen afterwards.
    void followAfterRun(const QStringList &paths);
    RunWrites &writes() { return m_writes; }
    const QStringList &files() const { return m_files; }

    // One look at every followed file: whether one that was there is missing now, and the
    // first present one whose stamp differs from the recorded one (empty if none).
    struct Look {
        bool missing = false;
        QString changed;
    };
    Look look() const;
    // Takes files that stay gone as gone: a deleted input is not an error and starts
    // nothing, but one that comes back (a branch switched back) is a change.
    void recordMissing();
    // Records every followed file's stamp as it is now.
    void record();
    // Signals settled after a short while, as if a notification had come.
    void checkSoon();

signals:
    // Notifications about the followed files or their folders have come to rest.
    void settled();

private:
    void noteEvent();
    void watchAll();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_root;
    QStringList m_files;
    QHash<QString, std::optional<FileStamp>> m_recorded;
    RunWrites m_writes;
};
