#include "filestamp.h"

#include <QFile>

#include <sys/stat.h>

std::optional<FileStamp> FileStamp::of(const QString &path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileStamp{qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec),
                     quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size)};
}
