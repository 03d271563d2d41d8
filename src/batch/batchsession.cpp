#include "batchsession.h"

#include "batch/githubreport.h"
#include "batch/jsonreport.h"
#include "batch/standardoutput.h"
#include "engine/buildmemory.h"
#include "engine/buildrun.h"
#include "settings/localizedtext.h"

namespace {
// A root's log waits in memory until the root ends; a flood keeps only its newest part.
constexpr qsizetype kMaxWaitingLog = 16 * 1024 * 1024;
} // namespace

struct BatchSession::Root {
    QString file; // as given
    StepPlanner planner;
    std::unique_ptr<BuildMemory> memory;
    std::unique_ptr<BuildRun> run;
    QString log; // what waits to be written
    qint64 leftOut = 0;
};

BatchSession::BatchSession(const BatchOptions &options, const BuildSettings &settings, StandardOutput &output,
                           QObject *parent)
    : QObject(parent), m_options(options), m_output(output), m_queue(options.jobs) {
    BuildSettings given = settings;
    if (options.commandIndexes) {
        given.automaticSteps = false; // the steps asked for, exactly
        given.procedure.clear();
        for (const int index : *options.commandIndexes)
            given.procedure << index + 1;
    }
    for (qsizetype i = 0; i < options.roots.size(); ++i) {
        auto root = std::make_unique<Root>();
        root->file = options.files[i];
        root->memory = std::make_unique<BuildMemory>(options.roots[i]);
        root->memory->load();
        root->run = std::make_unique<BuildRun>(options.roots[i], given, BuildRequest::procedure(), root->planner,
                                               *root->memory);
        Root *shown = root.get();
        connect(root->run.get(), &BuildRun::logLines, this, [this, shown](const LogChunk &chunk) { logLines(*shown, chunk); });
        connect(root->run.get(), &BuildRun::finished, this, [this, shown] { rootEnded(*shown); });
        m_queue.add(root->run.get());
        m_roots.push_back(std::move(root));
    }
    connect(&m_queue, &BuildQueue::allFinished, this, &BatchSession::allEnded);
}

BatchSession::~BatchSession() = default;

void BatchSession::start() {
    m_queue.start();
}

void BatchSession::stop() {
    m_queue.stop();
}

void BatchSession::logLines(Root &root, const LogChunk &chunk) {
    if (m_roots.size() == 1) {
        m_output.write(chunk.text);
        return;
    }
    root.log += chunk.text;
    if (root.log.size() > kMaxWaitingLog) {
        const qsizetype cut = root.log.indexOf(QLatin1Char('\n'), root.log.size() - kMaxWaitingLog / 2) + 1;
        root.leftOut += cut;
        root.log.remove(0, cut);
    }
}

void BatchSession::rootEnded(Root &root) {
    ++(root.run->failed() ? m_failed : m_built);
    QString block;
    if (root.leftOut > 0)
        block += LineClassifier::promptPrefix + Text::format("LogLeftOut", {QString::number(root.leftOut)}) +
                 QLatin1Char('\n');
    block += std::exchange(root.log, QString());
    if (m_options.githubReport)
        block += GitHubReport::annotations(root.run->problems(), QDir::current());
    m_output.write(block + summaryOf(root));
}

QString BatchSession::summaryOf(const Root &root) const {
    const LogCounts &counts = root.run->counts();
    const QStringList numbers{QString::number(counts.errors), QString::number(counts.warnings),
                              QString::number(counts.notes), QString::number(counts.pages)};
    if (m_roots.size() == 1)
        return Text::format("BatchSummary", numbers);
    return Text::format("BatchRootSummary", QStringList{root.file} + numbers);
}

void BatchSession::allEnded() {
    if (m_roots.size() > 1) {
        LogCounts sum;
        for (const auto &root : m_roots) {
            sum.errors += root->run->counts().errors;
            sum.warnings += root->run->counts().warnings;
            sum.notes += root->run->counts().notes;
        }
        m_output.write(Text::format(
            "BatchTotal", {QString::number(m_roots.size()), QString::number(m_built),
                           QString::number(m_failed), QString::number(sum.errors),
                           QString::number(sum.warnings), QString::number(sum.notes)}));
    }
    emit finished();
}

QJsonArray BatchSession::reportRoots() const {
    QJsonArray roots;
    for (const auto &root : m_roots)
        roots.append(JsonReport::root(root->file, *root->run, QDir::current()));
    return roots;
}
