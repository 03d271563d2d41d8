#pragma once

#include <QList>
#include <QString>
#include <optional>

// File work of a new project and of symbolic links, free of widgets. Failures come back
// as the alerts to show, in the order they happened.
namespace ProjectFiles {

// An alert by its text keys; path is the message's one argument (null: none).
struct Alert {
    QString headerKey;
    QString messageKey;
    QString path;
    bool operator==(const Alert &) const = default;
};

// The extras of a new project; an extra that is absent is not made.
struct Options {
    bool folderAlias = false;
    std::optional<QString> extraFolderName; // used as typed
    std::optional<QString> original;        // file or folder the link points to
};

// Where the new project's items go; an empty path is an item not requested.
struct Paths {
    QString root;
    QString alias;
    QString link;
    QString folder;
};
Paths projectPaths(const QString &rootPath, const Options &options);

struct Outcome {
    bool rootCreated = false; // the new root file is in place and can be opened
    QList<Alert> alerts;
};
// Replaces whatever file is at rootPath by a copy of the template, then makes the folder
// alias, the link and the extra folder, each only where nothing exists yet.
Outcome createProject(const QString &rootPath, const QString &templatePath, const Options &options);

// A symbolic link at linkPath whose content is original, replacing a file (never a folder)
// found there. nullopt on success.
std::optional<Alert> createSymLinkReplacingFile(const QString &linkPath, const QString &original);

// The extension a link to original must carry: "folder" for a folder, the original's own
// extension otherwise, nullopt for an original without one (a path that does not exist
// counts as a file).
std::optional<QString> linkTypeForOriginal(const QString &original);

// Bits of an incomplete new-project choice and the text that names them.
enum IncompleteBit { NoTemplate = 1, NoFolderName = 2, NoOriginal = 4 };
QString incompleteChoiceText(int mask);

} // namespace ProjectFiles
