#include "runtimefolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeFolder {
namespace {
// Why folder may not hold the socket; "" when it is a folder of this user's alone.
QString problemWith(const QString &folder) {
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(folder);
    if (info.st_uid != ::getuid())
        return QStringLiteral("%1 belongs to user %2").arg(folder).arg(info.st_uid);
    if ((info.st_mode & 077) != 0)
        return QStringLiteral("%1 is open to other users (mode %2)")
            .arg(folder)
            .arg(info.st_mode & 0777, 4, 8, QLatin1Char('0'));
    return {};
}

QString ownFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    QDir().mkpath(cache);
    const QString folder = cache + QStringLiteral("/quireon-runtime");
    // Made private from the start; one that is already there is judged as it is.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}
} // namespace

QString path(QString &problem) {
    const QString session = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!session.isEmpty() && problemWith(session).isEmpty())
        return session;
    const QString own = ownFolder();
    const QString ownProblem =
        own.isEmpty() ? QStringLiteral("no cache folder is known") : problemWith(own);
    problem = ownProblem;
    return ownProblem.isEmpty() ? own : QString();
}
} // namespace RuntimeFolder
