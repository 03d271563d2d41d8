#include "commandlinerun.h"

#include "batch/batchrun.h"
#include "batch/standardoutput.h"
#include "process/exitguard.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <variant>

namespace {
constexpr int kCommandCount = 5;
constexpr const char *kOptions[] = {"--batch", "--procedure", "--help", "-h", "--help-all", "-?",
                                    "--version", "-v"};

int refuse(const char *key, const QStringList &args = {})
{
    StandardOutput::writeTo(stderr, Text::format(key, args));
    return CommandLineRun::BadInput;
}

// The root file's path, or the exit code when it cannot be run.
std::variant<QString, int> checkedRootFile(const QString &argument)
{
    const QFileInfo info(QDir::current().absoluteFilePath(argument));
    if (!info.isFile() || !info.isReadable())
        return refuse("CliUnreadable", {argument});
    if (info.suffix() != gQuireonPrefs->rootType())
        return refuse("CliWrongType", {argument, gQuireonPrefs->rootType()});
    return info.absoluteFilePath();
}

// Runs the procedure and writes its summary; true when it failed. A stop signal, and
// output that goes nowhere, stop the running command's process group as Stop does.
bool runProcedure(const QString &rootFile, const QList<int> &commandIndexes, ExitGuard &exitGuard,
                  StandardOutput &output)
{
    BatchRun run(rootFile, commandIndexes, [&output](const QString &text) { output.write(text); });
    QObject::connect(&exitGuard, &ExitGuard::stopRequested, &run, &BatchRun::stop);
    // Queued: a write fails inside the runner's own reports.
    QObject::connect(&output, &StandardOutput::failed, &run, &BatchRun::stop, Qt::QueuedConnection);
    QObject::connect(&run, &BatchRun::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    run.start();
    QCoreApplication::exec();

    const LogTally::Counts &counts = run.counts();
    output.write(Text::format("BatchSummary", {QString::number(counts.errors),
                                               QString::number(counts.warnings),
                                               QString::number(counts.notes),
                                               QString::number(counts.pages)}));
    return run.failed();
}

int runBatch(const QString &rootFile, const QList<int> &commandIndexes)
{
    // Destroyed last: leaving waits for the tool processes that are still being ended.
    ExitGuard exitGuard;
    StandardOutput output;
    const bool failed = runProcedure(rootFile, commandIndexes, exitGuard, output);
    const bool written = output.finish();
    if (exitGuard.signalNumber() != 0)
        return ExitGuard::statusAfter(exitGuard.signalNumber());
    if (!written)
        return output.error() == EPIPE ? CommandLineRun::OutputClosed : CommandLineRun::OutputFailed;
    return failed ? CommandLineRun::Failed : CommandLineRun::Done;
}
} // namespace

namespace CommandLineRun {
bool wanted(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--procedure=", 12) == 0)
            return true;
        for (const char *option : kOptions)
            if (std::strcmp(argv[i], option) == 0)
                return true;
    }
    return false;
}

std::optional<QList<int>> commandIndexes(const QString &numbers)
{
    QList<int> indexes;
    for (const QString &entry : numbers.split(QLatin1Char(','))) {
        bool ok = false;
        const int number = entry.trimmed().toInt(&ok);
        if (!ok || number < 1 || number > kCommandCount)
            return std::nullopt;
        indexes << number - 1;
    }
    return indexes;
}

int run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quireon"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIREON_VERSION));
    Text::installTable();

    QCommandLineParser parser;
    parser.setApplicationDescription(Text::localized("CliDescription"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption batch(QStringLiteral("batch"), Text::localized("CliBatch"));
    const QCommandLineOption procedure(QStringLiteral("procedure"), Text::localized("CliProcedure"),
                                       Text::localized("CliProcedureValue"));
    parser.addOptions({batch, procedure});
    parser.addPositionalArgument(QStringLiteral("file"), Text::localized("CliFile"),
                                 QStringLiteral("[file.tex...]"));
    if (!parser.parse(app.arguments())) {
        StandardOutput::writeTo(stderr, QStringLiteral("quireon: %1\n").arg(parser.errorText()));
        return BadInput;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // Scripts and Makefiles act on the exit status, so the help ends with its list.
        StandardOutput::writeTo(stdout, parser.helpText() + Text::localized("CliExitStatus"));
        return Done;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.isSet(batch))
        return refuse("CliNeedsBatch");
    if (parser.positionalArguments().size() != 1)
        return refuse("CliOneFile");

    QuireonPrefs prefs;
    prefs.awakeFromNib();
    const auto rootFile = checkedRootFile(parser.positionalArguments().first());
    if (const int *code = std::get_if<int>(&rootFile))
        return *code;
    std::optional<QList<int>> indexes = BatchRun::storedProcedure();
    if (parser.isSet(procedure)) {
        indexes = commandIndexes(parser.value(procedure));
        if (!indexes)
            return refuse("CliBadProcedure", {parser.value(procedure)});
    }
    return runBatch(std::get<QString>(rootFile), *indexes);
}
} // namespace CommandLineRun
