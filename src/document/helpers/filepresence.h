#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <ctime>

// Answers whether paths name existing files, as QFileInfo::isFile() would, for a caller that
// asks about many names in few folders: a log line "(./my part/sec two.tex [1] [2]" is tried
// as several names that differ only in their last words. Each folder is read once and its
// listing kept while the folder's modification time stays the same, so a name the folder
// does not hold costs no call into the file system. Listings are checked against their
// folder again only after lookAgain(); until then the answers are those of that moment.
class FilePresence {
public:
    // Folders holding more entries than this are not kept; names in them are looked up one
    // by one.
    static constexpr qsizetype kMaxListing = 4096;
    // At most this many folders are kept; then all are forgotten.
    static constexpr qsizetype kMaxFolders = 256;

    bool isFile(const QString &absolutePath);
    // The file system may have changed since the last answers.
    void lookAgain();

private:
    struct Folder {
        enum class State { Missing, Unlisted, Listed };
        State state = State::Missing;
        QSet<QString> names;
        timespec modified{};
        bool trusted = false; // modified lies far enough in the past to notice later changes
        bool checked = false; // compared with the file system since the last lookAgain()
    };
    void check(const QString &path, Folder &folder);

    QHash<QString, Folder> m_folders;
};
