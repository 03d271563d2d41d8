#include "filepresence.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace {
// A folder changed within this many seconds may change again without its modification time
// moving: the time is taken from a clock that advances in ticks.
constexpr time_t kSettleSeconds = 2;

bool sameTime(const timespec &a, const timespec &b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
} // namespace

bool FilePresence::isFile(const QString &absolutePath) {
    const qsizetype slash = absolutePath.lastIndexOf(u'/');
    const QString name = absolutePath.mid(slash + 1);
    if (slash < 0 || name.isEmpty() || name == u"." || name == u"..")
        return QFileInfo(absolutePath).isFile();
    const QString folderPath = slash == 0 ? QStringLiteral("/") : absolutePath.left(slash);
    auto it = m_folders.find(folderPath);
    if (it == m_folders.end()) {
        if (m_folders.size() >= kMaxFolders)
            m_folders.clear();
        it = m_folders.insert(folderPath, Folder());
    }
    if (!it->checked)
        check(folderPath, *it);
    switch (it->state) {
    case Folder::State::Missing:
        return false;
    case Folder::State::Listed:
        if (!it->names.contains(name))
            return false;
        break;
    case Folder::State::Unlisted:
        break;
    }
    // The entry may be a folder, or a link to something that is not a file.
    return QFileInfo(absolutePath).isFile();
}

void FilePresence::lookAgain() {
    for (Folder &folder : m_folders)
        folder.checked = false;
}

void FilePresence::check(const QString &path, Folder &folder) {
    folder.checked = true;
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat info {};
    if (::stat(nativePath.constData(), &info) != 0) {
        // Without permission to look, the names inside may still be reachable.
        folder.state = errno == ENOENT || errno == ENOTDIR ? Folder::State::Missing
                                                           : Folder::State::Unlisted;
        folder.names.clear();
        return;
    }
    if (!S_ISDIR(info.st_mode)) {
        folder.state = Folder::State::Missing;
        folder.names.clear();
        return;
    }
    // A listing, or the knowledge that the folder cannot be listed, holds while the folder
    // keeps its time.
    if (folder.state != Folder::State::Missing && folder.trusted &&
        sameTime(folder.modified, info.st_mtim))
        return;

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    folder.modified = info.st_mtim;
    folder.trusted = info.st_mtim.tv_sec + kSettleSeconds < now.tv_sec;
    folder.names.clear();
    folder.state = Folder::State::Unlisted;
    DIR *dir = ::opendir(nativePath.constData());
    if (!dir)
        return;
    bool complete = false;
    while (folder.names.size() < kMaxListing) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            complete = errno == 0;
            break;
        }
        folder.names.insert(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    if (complete)
        folder.state = Folder::State::Listed;
    else
        folder.names.clear();
}
