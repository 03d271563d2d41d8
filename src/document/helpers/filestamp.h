#pragma once

#include <QString>
#include <optional>

// What auto mode compares to see that the root file was saved: the modification time to
// the nanosecond, and the file's identity and size. Editors that write a new file and
// rename it over the old one change the inode even when the time looks the same, and two
// saves within one second differ in their nanoseconds.
struct FileStamp {
    qint64 seconds = 0;
    qint64 nanoseconds = 0;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;

    // The stamp of the file at path, symbolic links followed; nullopt when there is none.
    static std::optional<FileStamp> of(const QString &path);

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
