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

void FollowedFiles::followAfterRun(const QStringList &paths) {
    QHash<QString, std::optional<FileStamp>> recorded;
    for (const QString &path : paths) {
        const std::optional<FileStamp> now = FileStamp::of(path);
        const bool followed = m_recorded.contains(path);
        std::optional<FileStamp> taken = followed ? m_recorded.value(path) : now;
        if (now && now != taken && m_writes.wrote(path, *now))
            taken = now;
        // Unknown before this run and changed since it started: by the user, so it counts.
        if (!followed && now && !m_writes.predatesRun(*now) && !m_writes.wrote(path, *now))
            taken.reset();
        recorded.insert(path, taken);
    }
    m_recorded.swap(recorded);
    m_files = paths;
    watchAll();
}

FollowedFiles::Look FollowedFiles::look() const {
    Look look;
    for (const QString &path : m_files) {
        const std::optional<FileStamp> stamp = FileStamp::of(path);
        const std::optional<FileStamp> recorded = m_recorded.value(path);
        if (!stamp && recorded)
            look.missing = true;
        else if (stamp && look.changed.isEmpty() && stamp != recorded)
            look.changed = path;
    }
    return look;
}

void FollowedFiles::recordMissing() {
    for (const QString &path : std::as_const(m_files))
        if (!FileStamp::of(path))
            m_recorded[path].reset();
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
        QString folder = info.absolutePath();
        while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).path())
            folder = QFileInfo(folder).path();
        if (QFileInfo(folder).isDir())
            folders.insert(folder);
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
