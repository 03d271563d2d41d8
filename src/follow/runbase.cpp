#include "runbase.h"

#include "document/helpers/commandline.h"
#include "document/helpers/rootpaths.h"

#include <QDir>

namespace {
// The value of option name in args ("-name=value", "--name=value" or "-name value"), the
// last one winning as it does for TeX; empty when absent.
QString optionValue(const QStringList &args, QLatin1StringView name) {
    QString value;
    for (qsizetype i = 1; i < args.size(); ++i) {
        QStringView word = args[i];
        if (!word.startsWith(u'-'))
            continue;
        word = word.sliced(word.startsWith(u"--") ? 2 : 1);
        if (word == name && i + 1 < args.size())
            value = args[++i];
        else if (word.startsWith(name) && word.sliced(name.size()).startsWith(u'='))
            value = word.sliced(name.size() + 1).toString();
    }
    return value;
}
} // namespace

namespace RunBase {
QString of(const QString &rootFilePath, const QString &engineCommand) {
    const RootPaths paths = RootPaths::derive(rootFilePath);
    const QStringList args = CommandLine::arguments(engineCommand, paths.basename);
    const QString folder = optionValue(args, QLatin1StringView("output-directory"));
    const QString job = optionValue(args, QLatin1StringView("jobname"));
    if (folder.isEmpty() && job.isEmpty())
        return paths.basePath;
    const QDir outputs(folder.isEmpty() ? paths.workingDir : QDir(paths.workingDir).filePath(folder));
    return QDir::cleanPath(outputs.filePath(job.isEmpty() ? paths.basename : job));
}
} // namespace RunBase
