#include "filehashes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace FileHash {

QByteArray of(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

FileHashes of(const QString &folder, const QStringList &names) {
    const QDir dir(folder);
    FileHashes hashes;
    for (const QString &name : names)
        hashes.insert(name, of(dir.filePath(name)));
    return hashes;
}

FileHashes engineReadBack(const QString &folder, const QString &basename,
                          const QStringList &auxFiles) {
    QStringList names = auxFiles;
    // Beamer's navigation files are read back the same way.
    for (const char *extension : {"toc", "lof", "lot", "bbl", "ind", "out", "nav", "snm"})
        names.append(basename + QLatin1Char('.') + QLatin1String(extension));
    return of(folder, names);
}

QString firstChanged(const FileHashes &before, const FileHashes &after) {
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            return it.key();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!after.contains(it.key()) && !it.value().isEmpty())
            return it.key();
    return {};
}

} // namespace FileHash
