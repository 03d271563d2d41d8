#include "projectfiles.h"

#include "settings/localizedtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ProjectFiles {
namespace {

const QString kSymLinkHeader = QStringLiteral("SymLinkErrorHeader");
const QString kSymLinkFile = QStringLiteral("SymLinkFileMessage");

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// Clears the place of the new root file. A real folder there is refused rather than
// deleted with its contents; a link is removed itself, never what it points to.
bool clearRootPlace(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir() && !info.isSymLink())
        return false;
    return QFile::remove(path);
}

// Makes a link where nothing exists (following links); an existing item is left alone.
void linkIfFree(const QString &path, const QString &content, QList<Alert> &alerts)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return;
    if (!QFile::link(content, path))
        alerts.append({kSymLinkHeader, kSymLinkFile, path});
}

void folderIfFree(const QString &path, QList<Alert> &alerts)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return;
    // No parents are made: a name with a slash needs its intermediate folder to exist.
    if (!QDir().mkdir(path))
        alerts.append({QStringLiteral("FolderErrorHeader"), QStringLiteral("FolderErrorMessage"), path});
}

} // namespace

Paths projectPaths(const QString &rootPath, const Options &options)
{
    const QFileInfo root(rootPath);
    const QString folder = root.path() + u'/';
    const QString base = root.completeBaseName();
    Paths paths{rootPath, {}, {}, {}};
    if (options.folderAlias)
        paths.alias = folder + base + QStringLiteral(".folder");
    if (options.original)
        paths.link = folder + base + u'.' + QFileInfo(*options.original).suffix();
    if (options.extraFolderName)
        paths.folder = folder + *options.extraFolderName;
    return paths;
}

Outcome createProject(const QString &rootPath, const QString &templatePath, const Options &options)
{
    const Paths paths = projectPaths(rootPath, options);
    Outcome outcome;
    // Removing the template to copy it onto its own place would lose it.
    if (sameFile(rootPath, templatePath) || !clearRootPlace(rootPath)) {
        outcome.alerts.append({QStringLiteral("OverwriteErrorHeader"),
                               QStringLiteral("OverwriteErrorMessage"), rootPath});
        return outcome;
    }
    if (!QFile::copy(templatePath, rootPath)) {
        outcome.alerts.append({QStringLiteral("CopyErrorHeader"), QStringLiteral("CopyErrorMessage"), rootPath});
        return outcome;
    }
    outcome.rootCreated = true;
    linkIfFree(paths.alias, QFileInfo(rootPath).path(), outcome.alerts);
    if (options.original)
        linkIfFree(paths.link, *options.original, outcome.alerts);
    folderIfFree(paths.folder, outcome.alerts);
    return outcome;
}

std::optional<Alert> createSymLinkReplacingFile(const QString &linkPath, const QString &original)
{
    const QFileInfo existing(linkPath);
    if (existing.isDir())
        return Alert{kSymLinkHeader, QStringLiteral("SymLinkFolderMessage"), linkPath};
    // The original itself at the link's place would be deleted and become a loop.
    const bool isOriginal = sameFile(linkPath, original) && !existing.isSymLink();
    if (isOriginal || (existing.exists() && !QFile::remove(linkPath)))
        return Alert{kSymLinkHeader, kSymLinkFile, linkPath};
    if (!QFile::link(original, linkPath))
        return Alert{kSymLinkHeader, kSymLinkFile, linkPath};
    return std::nullopt;
}

std::optional<QString> linkTypeForOriginal(const QString &original)
{
    const QFileInfo info(original);
    if (info.isDir())
        return QStringLiteral("folder");
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return std::nullopt;
    return suffix;
}

QString incompleteChoiceText(int mask)
{
    static const QList<std::pair<int, const char *>> kKeys = {
        {NoTemplate, "BadTemplate_NoTemplate"},
        {NoFolderName, "BadTemplate_NoFolderName"},
        {NoOriginal, "BadTemplate_NoOriginal"}};
    QStringList parts;
    for (const auto &[bit, key] : kKeys)
        if (mask & bit)
            parts << Text::localized(key);
    return parts.join(QStringLiteral(" ; "));
}

} // namespace ProjectFiles
