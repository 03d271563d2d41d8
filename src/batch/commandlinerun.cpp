#include "commandlinerun.h"

#include "batch/batchoptions.h"
#include "batch/batchsession.h"
#include "batch/jsonreport.h"
#include "batch/standardoutput.h"
#include "process/exitguard.h"
#include "settings/localizedtext.h"
#include "settings/buildsettingsread.h"
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
constexpr const char *kOptions[] = {"--batch", "--procedure", "--jobs", "-j", "--report", "--help", "-h",
                                    "--help-all", "-?", "--version", "-v"};
// Options that also come with their value in the same argument: --jobs=2, -j2.
constexpr const char *kJoinedOptions[] = {"--procedure=", "--jobs=", "--report=", "-j"};

int refuse(const char *key, const QStringList &args = {})
{
    StandardOutput::writeTo(stderr, Text::format(key, args));
    return CommandLineRun::BadInput;
}

// Builds the roots and writes their logs and summaries; true when one failed. A stop
// signal, and output that goes nowhere, stop every running tool tree as Stop does.
bool buildRoots(BatchSession &session, ExitGuard &exitGuard, StandardOutput &output)
{
    QObject::connect(&exitGuard, &ExitGuard::stopRequested, &session, &BatchSession::stop);
    // Queued: a write fails inside the runner's own reports.
    QObject::connect(&output, &StandardOutput::failed, &session, &BatchSession::stop, Qt::QueuedConnection);
    QObject::connect(&session, &BatchSession::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    session.start();
    QCoreApplication::exec();
    return session.anyFailed();
}

int runBatch(const BatchOptions &options, const BuildSettings &settings)
{
    // Destroyed last: leaving waits for the tool processes that are still being ended.
    ExitGuard exitGuard;
    StandardOutput output;
    BatchSession session(options, settings, output);
    const bool failed = buildRoots(session, exitGuard, output);
    const bool written = output.finish();
    int status = failed ? CommandLineRun::Failed : CommandLineRun::Done;
    if (exitGuard.signalNumber() != 0)
        status = ExitGuard::statusAfter(exitGuard.signalNumber());
    else if (!written)
        status = output.error() == EPIPE ? CommandLineRun::OutputClosed : CommandLineRun::OutputFailed;
    QString errorText;
    if (!options.jsonReport.isEmpty() &&
        !JsonReport::write(options.jsonReport, session.reportRoots(), status, &errorText)) {
        StandardOutput::writeTo(stderr, Text::format("CliReportFailed", {options.jsonReport, errorText}));
        if (status == CommandLineRun::Done || status == CommandLineRun::Failed)
            status = CommandLineRun::OutputFailed;
    }
    return status;
}

QCommandLineParser &withOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(Text::localized("CliDescription"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(
        {{QStringLiteral("batch"), Text::localized("CliBatch")},
         {QStringLiteral("procedure"), Text::localized("CliProcedure"), Text::localized("CliProcedureValue")},
         {{QStringLiteral("j"), QStringLiteral("jobs")}, Text::localized("CliJobs"), Text::localized("CliJobsValue")},
         {QStringLiteral("report"), Text::localized("CliReport"), Text::localized("CliReportValue")}});
    parser.addPositionalArgument(QStringLiteral("file"), Text::localized("CliFile"),
                                 QStringLiteral("[file.tex...]"));
    return parser;
}
} // namespace

namespace CommandLineRun {
bool wanted(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : kJoinedOptions)
            if (std::strncmp(argv[i], option, std::strlen(option)) == 0)
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
    if (!withOptions(parser).parse(app.arguments())) {
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
    if (!parser.isSet(QStringLiteral("batch")))
        return refuse("CliNeedsBatch");

    QuireonPrefs prefs;
    prefs.awakeFromNib();
    const BuildSettings settings = buildSettingsOf(prefs);
    const auto options = BatchOptions::read(parser, prefs.rootType(), settings.commandLine(0));
    if (const int *status = std::get_if<int>(&options))
        return *status;
    return runBatch(std::get<BatchOptions>(options), settings);
}
} // namespace CommandLineRun
