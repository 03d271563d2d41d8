#include "autoplanner.h"

#include "autosteps.h"
#include "buildmemory.h"
#include "procedure/auxstate.h"
#include "procedure/rerunrequest.h"
#include "settings/localizedtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Outputs of the tools of the list that the engine reads back, watched from the first pass on.
constexpr const char *kToolOutputs[] = {"nls", "gls", "acr", "glstex"};
} // namespace

AutoPlanner::AutoPlanner(const QString &folder, const QString &base, const QString &engineName, BuildMemory &memory)
    : m_folder(folder), m_base(base), m_engineName(engineName), m_memory(memory) {
    for (const char *extension : kToolOutputs)
        m_toolOutputs << m_base + QLatin1Char('.') + QLatin1String(extension);
}

void AutoPlanner::passStarting() {
    ++m_passes;
    m_passEnded = true;
    m_toolChangedOutputs = false;
    m_beforePass = readBack();
}

AutoPlanner::Step AutoPlanner::next() {
    Step step;
    if (std::exchange(m_passEnded, false))
        planTools(step);
    while (!m_queue.isEmpty()) {
        ToolStep tool = m_queue.takeFirst();
        if (!tool.blocked.isEmpty()) {
            step.notes << Text::format("AutoToolBlocked", {tool.name, tool.blocked});
            continue;
        }
        step.notes << Text::format("StepRuns", {tool.name, Text::localized("ReasonInputsChanged")});
        m_running = tool;
        m_runningBefore = FileHash::of(m_folder, tool.outputs);
        m_memory.forget(tool.key);
        m_memory.save(); // a tool stopped half way, or a crash, leaves no record to trust
        step.kind = Step::Kind::Tool;
        step.tool = tool;
        return step;
    }
    const QString reason = rerunReason();
    if (reason.isEmpty())
        return step;
    if (m_passes >= kMaxPasses) {
        step.notes << Text::format("NotSettledNote", {QString::number(m_passes)});
        return step;
    }
    step.notes << Text::format("StepAgain", {m_engineName, reason});
    step.kind = Step::Kind::Engine;
    return step;
}

// The tools the pass showed are needed; those whose inputs are as they were at their last
// good run, with their outputs untouched since, are left out.
void AutoPlanner::planTools(Step &step) {
    QFile log(QDir(m_folder).filePath(m_base + QLatin1String(".log")));
    m_passLog = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    m_queue.clear();
    for (const ToolStep &tool : AutoSteps::needed(m_folder, m_base, m_passLog)) {
        for (const QString &output : tool.outputs)
            if (!m_toolOutputs.contains(output))
                m_toolOutputs << output;
        if (!tool.blocked.isEmpty() || !m_memory.upToDate(tool.key, tool.inputs))
            m_queue << tool;
        else
            step.notes << Text::format("StepSkipped", {tool.name, Text::localized("ReasonInputsUnchanged")});
    }
}

void AutoPlanner::toolEnded(bool ok) {
    if (!ok)
        return;
    QStringList outputs;
    for (const QString &output : std::as_const(m_running.outputs))
        outputs << QDir(m_folder).filePath(output);
    m_memory.record(m_running.key, m_running.inputs, outputs);
    m_memory.save();
    // A tool whose outputs are not known may have changed anything the engine reads.
    m_toolChangedOutputs = m_toolChangedOutputs || m_running.outputs.isEmpty() ||
                           !FileHash::firstChanged(m_runningBefore, FileHash::of(m_folder, m_running.outputs)).isEmpty();
}

// Why the engine must run again; empty once the references have settled. A request for a
// tool is no reason: the tool has run by now.
QString AutoPlanner::rerunReason() const {
    const RerunRequest request = rerunRequestIn(m_passLog);
    if (request == RerunRequest::LabelsChanged)
        return Text::localized("ReasonLabelsChanged");
    if (request == RerunRequest::PackageAsked)
        return Text::localized("ReasonPackageAsked");
    if (const QString changed = FileHash::firstChanged(m_beforePass, readBack()); !changed.isEmpty())
        return Text::format("ReasonChanged", {QFileInfo(changed).fileName()});
    if (m_toolChangedOutputs)
        return Text::localized("AutoToolWrote");
    return {};
}

FileHashes AutoPlanner::readBack() const {
    const QString base = QFileInfo(m_base).fileName();
    const QString folder = QDir(m_folder).filePath(QFileInfo(m_base).path());
    FileHashes hashes = FileHash::engineReadBack(folder, base, AuxState::read(folder, base + QLatin1String(".aux")).files);
    hashes.insert(FileHash::of(m_folder, m_toolOutputs));
    return hashes;
}
