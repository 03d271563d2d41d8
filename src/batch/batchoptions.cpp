#include "batchoptions.h"

#include "batch/commandlinerun.h"
#include "batch/standardoutput.h"
#include "follow/runbase.h"
#include "settings/localizedtext.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {
int refuse(const char *key, const QStringList &args = {}) {
    StandardOutput::writeTo(stderr, Text::format(key, args));
    return CommandLineRun::BadInput;
}

// The root file's path, or the exit status when it cannot be run.
std::variant<QString, int> checkedRootFile(const QString &argument, const QString &rootType) {
    const QFileInfo info(QDir::current().absoluteFilePath(argument));
    if (!info.isFile() || !info.isReadable())
        return refuse("CliUnreadable", {argument});
    if (info.suffix() != rootType)
        return refuse("CliWrongType", {argument, rootType});
    return info.absoluteFilePath();
}

// 0 when every root is a file of its own whose outputs go to a place of their own.
int refuseClashes(const BatchOptions &options, const QString &engineCommand) {
    QStringList files, outputs;
    for (qsizetype i = 0; i < options.roots.size(); ++i) {
        const QString file = QFileInfo(options.roots[i]).canonicalFilePath();
        const QString output = QFileInfo(RunBase::of(file, engineCommand)).absoluteFilePath();
        if (const qsizetype earlier = files.indexOf(file); earlier >= 0)
            return refuse("CliSameRoot", {options.files[earlier], options.files[i]});
        if (const qsizetype earlier = outputs.indexOf(output); earlier >= 0)
            return refuse("CliSameOutputs", {options.files[earlier], options.files[i], output});
        files << file;
        outputs << output;
    }
    return 0;
}

// The reports asked for; false after a message when one is not known or cannot be written.
bool readReports(const QStringList &values, BatchOptions &options) {
    for (const QString &value : values) {
        if (value == QLatin1String("github")) {
            options.githubReport = true;
        } else if (value.startsWith(QLatin1String("json=")) && value.size() > 5) {
            const QFileInfo file(QDir::current().absoluteFilePath(value.mid(5)));
            if (!QFileInfo(file.absolutePath()).isWritable() || file.isDir()) {
                refuse("CliReportPlace", {value.mid(5)});
                return false;
            }
            options.jsonReport = file.absoluteFilePath();
        } else {
            refuse("CliBadReport", {value});
            return false;
        }
    }
    return true;
}
} // namespace

std::variant<BatchOptions, int> BatchOptions::read(const QCommandLineParser &parser, const QString &rootType,
                                                   const QString &engineCommand) {
    BatchOptions options;
    options.files = parser.positionalArguments();
    if (options.files.isEmpty())
        return refuse("CliNoFile");
    for (const QString &file : std::as_const(options.files)) {
        const auto root = checkedRootFile(file, rootType);
        if (const int *status = std::get_if<int>(&root))
            return *status;
        options.roots << std::get<QString>(root);
    }
    if (const int status = refuseClashes(options, engineCommand))
        return status;
    if (parser.isSet(QStringLiteral("procedure"))) {
        options.commandIndexes = CommandLineRun::commandIndexes(parser.value(QStringLiteral("procedure")));
        if (!options.commandIndexes)
            return refuse("CliBadProcedure", {parser.value(QStringLiteral("procedure"))});
    }
    options.jobs = QThread::idealThreadCount();
    if (parser.isSet(QStringLiteral("jobs"))) {
        bool ok = false;
        options.jobs = parser.value(QStringLiteral("jobs")).toInt(&ok);
        if (!ok || options.jobs < 1)
            return refuse("CliBadJobs", {parser.value(QStringLiteral("jobs"))});
    }
    if (!readReports(parser.values(QStringLiteral("report")), options))
        return int(CommandLineRun::BadInput);
    return options;
}
