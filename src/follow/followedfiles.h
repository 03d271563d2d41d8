#pragma once

#include "document/helpers/filestamp.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

// The files a document follows besides its root file, with the stamp each had when it
// was last recorded, and the kernel's notifications about them. Editors save by writing
// a new file and renaming it over the old one, which ends the watch on the old file, so
// the folders are watched too and a replaced file is watched anew. A burst of
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
    // recorded for it, so a save made while a run was going is still seen afterwards.
    void follow(const QStringList &paths);
    const QStringList &files() const { return m_files; }

    // One look at every followed file: whether one is missing, and the first present one
    // whose stamp differs from the recorded one (empty if none).
    struct Look {
        bool missing = false;
        QString changed;
    };
    Look look() const;
    // Stops following files that are gone: a deleted input is not an error.
    void dropMissing();
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
};
