#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Hashes of file contents by name relative to a folder; an empty hash stands for a file that
// is missing. Every run rewrites its files, so their dates say nothing; their contents do.
using FileHashes = QMap<QString, QByteArray>;

namespace FileHash {
// The hash of the contents of the file at path; empty when it cannot be read.
QByteArray of(const QString &path);
FileHashes of(const QString &folder, const QStringList &names);
// The files an engine pass reads back from the pass before it: the given .aux files and the
// root's contents, lists of figures and tables, bibliography, index and outlines.
FileHashes engineReadBack(const QString &folder, const QString &basename,
                          const QStringList &auxFiles);
// The first name whose hash differs between the two (a name found in only one of them
// counts as missing from the other); empty when none does.
QString firstChanged(const FileHashes &before, const FileHashes &after);
} // namespace FileHash
