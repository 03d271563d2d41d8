#include "followedfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

FollowedFiles::FollowedFiles(QObject *parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        watchAll();
        emit settled();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FollowedFiles::noteEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FollowedFiles::noteEvent);
}

void FollowedFiles::setRoot(const QString &rootFilePath) {
    m_root = rootFilePath;
    watchAll();
}

void FollowedFiles::follow(const QStringList &paths) {
    QHash<QString, std::optional<FileStamp>> recorded;
    for (const QString &path : paths)
        recorded.insert(path, m_recorded.contains(path) ? m_recorded.value(path) : FileStamp::of(path));
    m_recorded.swap(recorded);
    m_files = paths;
    watchAll();
}

FollowedFiles::Look FollowedFiles::look() const {
    Look look;
    for (const QString &path : m_files) {
        const std::optional<FileStamp> stamp = FileStamp::of(path);
        if (!stamp)
            look.missing = true;
        else if (look.changed.isEmpty() && stamp != m_recorded.value(path))
            look.changed = path;
    }
    return look;
}

void FollowedFiles::dropMissing() {
    QStringList present;
    for (const QString &path : std::as_const(m_files))
        if (FileStamp::of(path))
            present.append(path);
    if (present.size() != m_files.size())
        follow(present);
}

void FollowedFiles::record() {
    for (const QString &path : std::as_const(m_files))
        m_recorded[path] = FileStamp::of(path);
}

void FollowedFiles::noteEvent() {
    m_settle.start(kSettleMs);
}

void FollowedFiles::checkSoon() {
    if (!m_settle.isActive())
        m_settle.start(kRetryMs);
}

// Brings the watches in line with the root file and the followed files: a file replaced
// by a rename lost its watch and gets a new one, a file no longer followed loses its own.
void FollowedFiles::watchAll() {
    QSet<QString> files;
    QSet<QString> folders;
    const auto want = [&](const QString &path) {
        const QFileInfo info(path);
        if (info.exists())
            files.insert(path);
        if (info.dir().exists())
            folders.insert(info.absolutePath());
    };
    if (!m_root.isEmpty())
        want(m_root);
    for (const QString &path : std::as_const(m_files))
        want(path);
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList stale;
    for (const QString &path : watched)
        if (!files.contains(path) && !folders.contains(path))
            stale.append(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    QStringList fresh;
    for (const QString &path : files + folders)
        if (!watched.contains(path))
            fresh.append(path);
    if (!fresh.isEmpty())
        m_watcher.addPaths(fresh);
}
