#include "projectinputs.h"

#include "document/helpers/filestamp.h"
#include "document/helpers/rootpaths.h"
#include "inputlogs.h"
#include "runbase.h"
#include "texsearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// What the default tools and common packages write beside the document and read again.
const QStringList kWrittenSuffixes = {
    QStringLiteral(".aux"), QStringLiteral(".toc"), QStringLiteral(".lof"),
    QStringLiteral(".lot"), QStringLiteral(".out"), QStringLiteral(".bbl"),
    QStringLiteral(".blg"), QStringLiteral(".idx"), QStringLiteral(".ind"),
    QStringLiteral(".ilg"), QStringLiteral(".glo"), QStringLiteral(".gls"),
    QStringLiteral(".glg"), QStringLiteral(".nav"), QStringLiteral(".snm"),
    QStringLiteral(".vrb"), QStringLiteral(".brf"), QStringLiteral(".loa"),
    QStringLiteral(".log"), QStringLiteral(".fls"), QStringLiteral(".synctex.gz"),
    QStringLiteral("-eps-converted-to.pdf")};
// The outputs named after the root file itself.
const QStringList kOutputExtensions = {QStringLiteral("pdf"), QStringLiteral("dvi"),
                                       QStringLiteral("ps"), QStringLiteral("xdv")};

bool isInside(const QString &path, const QString &folder) {
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return path.startsWith(folder);
    return path.startsWith(folder) && path.size() > folder.size() && path[folder.size()] == u'/';
}

bool isTexTree(const QString &path) {
    static const QStringList kSystemTrees = {
        QStringLiteral("/usr/share/texlive"), QStringLiteral("/usr/share/texmf"),
        QStringLiteral("/usr/local/texlive"), QStringLiteral("/var/lib/texmf"),
        QStringLiteral("/etc/texmf")};
    for (const QString &tree : kSystemTrees)
        if (isInside(path, tree))
            return true;
    for (const QStringView part : QStringView(path).split(u'/')) {
        if (part.startsWith(u".texlive") || part == u"texmf-dist" || part == u"texmf-var"
            || part == u".texmf-var" || part == u"texmf-config" || part == u".texmf-config")
            return true;
    }
    return false;
}

QString readText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A recorder file counts when its run also wrote the log, or no log is there.
bool recorderIsCurrent(const QString &fls, const QString &log) {
    const std::optional<FileStamp> recorded = FileStamp::of(fls);
    const std::optional<FileStamp> logged = FileStamp::of(log);
    // Both are written by one run within moments; a recorder file left by an earlier run
    // that used -recorder is older than the log by more than that.
    return recorded && (!logged || recorded->seconds + 2 >= logged->seconds);
}

// Paths under the canonical form of folder (or of home) rewritten under folder as given.
QStringList asSeenFrom(const QStringList &paths, const QString &folder, const QString &home) {
    QList<std::pair<QString, QString>> aliases;
    for (const QString &given : {folder, home}) {
        const QString resolved = QFileInfo(given).canonicalFilePath();
        if (!resolved.isEmpty() && resolved != given)
            aliases.append({resolved, given});
    }
    QStringList seen;
    for (const QString &path : paths) {
        QString shown = path;
        for (const auto &[resolved, given] : std::as_const(aliases)) {
            if (isInside(path, resolved)) {
                shown = given + path.mid(resolved.size());
                break;
            }
        }
        seen.append(shown);
    }
    return seen;
}

// Names a tool printed as it was given them (bibtex's databases), found as the tool finds
// them: in the folder, else on TeX's search path.
QStringList found(const QString &folder, const QStringList &names) {
    QStringList paths;
    for (const QString &name : names)
        if (const QString path = TexSearch::find(folder, name); !path.isEmpty())
            paths.append(path);
    return paths;
}

QStringList absolute(const QDir &folder, const QStringList &names) {
    QStringList paths;
    for (const QString &name : names)
        paths.append(QDir::cleanPath(folder.absoluteFilePath(name)));
    return paths;
}
} // namespace

namespace ProjectInputs {
bool isUsersFile(const QString &path, const QString &rootFolder, const QString &home) {
    const bool usersHome = !home.isEmpty() && home != QLatin1String("/") && isInside(path, home);
    return (isInside(path, rootFolder) || usersHome) && !isTexTree(path);
}

bool isRunOutput(const QString &path, const QString &basePath, const QStringList &outputExtensions) {
    for (const QString &suffix : kWrittenSuffixes)
        if (path.endsWith(suffix))
            return true;
    for (const QString &ext : outputExtensions)
        if (!ext.isEmpty() && path.endsWith(QLatin1Char('.') + ext))
            return true;
    for (const QString &ext : kOutputExtensions)
        if (path == outputPath(basePath, ext))
            return true;
    return false;
}

QStringList learn(const QString &rootFilePath, const QString &engineCommand,
                  const QStringList &outputExtensions, const QString &home) {
    const RootPaths paths = RootPaths::derive(rootFilePath);
    const QString runBase = RunBase::of(rootFilePath, engineCommand);
    const QDir folder(paths.workingDir);
    const InputLogs::IsFile isFile = [&folder](const QString &name) {
        return QFileInfo(folder, name).isFile();
    };
    const QString fls = outputPath(runBase, QStringLiteral("fls"));
    const QString log = outputPath(runBase, QStringLiteral("log"));
    QStringList read;
    QStringList written;
    if (recorderIsCurrent(fls, log)) {
        // The recorder names files under the folder as the system resolved it, which differs
        // from the root file's path when that leads through a symbolic link.
        const InputLogs::Recorded recorded = InputLogs::recorderFile(readText(fls));
        read = asSeenFrom(recorded.inputs, paths.workingDir, home);
        written = asSeenFrom(recorded.outputs, paths.workingDir, home);
    } else {
        const QString text = readText(log);
        read = absolute(folder, InputLogs::texLogReads(text, isFile));
        written = absolute(folder, InputLogs::texLogWrites(text));
    }
    read += absolute(folder, found(paths.workingDir, InputLogs::bibtexLogReads(readText(outputPath(runBase, QStringLiteral("blg"))))));
    read += absolute(folder, InputLogs::makeindexLogReads(readText(outputPath(runBase, QStringLiteral("ilg"))), isFile));

    QStringList inputs;
    for (const QString &path : std::as_const(read)) {
        if (path != rootFilePath && !inputs.contains(path) && !written.contains(path)
            && isUsersFile(path, paths.workingDir, home)
            && !isRunOutput(path, paths.basePath, outputExtensions)
            && !isRunOutput(path, runBase, outputExtensions) && QFileInfo(path).isFile())
            inputs.append(path);
    }
    return inputs;
}
} // namespace ProjectInputs

QString shownName(const QString &path, const QString &rootFolder) {
    return isInside(path, rootFolder) ? QDir(rootFolder).relativeFilePath(path) : path;
}
