#include "stepplanner.h"

#include "auxstate.h"
#include "rerunrequest.h"
#include "engine/autosteps.h"
#include "follow/texsearch.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {
StepDecision runs(StepReason reason, const QString &file = {}) {
    return {true, reason, file, 0};
}
StepDecision skips(StepReason reason, int passes = 0) {
    return {false, reason, {}, passes};
}
} // namespace

void StepPlanner::begin(const QString &basePath, const QList<int> &codes,
                        const QStringList &commandLines, bool onlyWithWork) {
    if (basePath != m_basePath) {
        m_bibtexRun.reset();
        m_indexRun.reset();
        m_biberRun.reset();
    }
    m_basePath = basePath;
    const QFileInfo base(basePath);
    m_folder = base.path();
    m_basename = base.fileName();
    m_codes = codes;
    m_commands = commandLines;
    m_onlyWithWork = onlyWithWork;
    m_lastEntry = m_lastCommand = -1;
    m_lastKind = StepKind::Other;
    m_passes = m_extraPasses = 0;
    m_otherSincePass = false;
    m_beforePass.clear();
    m_bibtexPending.reset();
    m_indexPending.reset();
    m_biberPending.reset();
}

StepDecision StepPlanner::decide(int entry) {
    const StepKind kind = kindOfEntry(entry);
    StepDecision decision;
    if (kind == StepKind::Bibtex)
        decision = decideBibtex();
    else if (kind == StepKind::Biber)
        decision = decideBiber();
    else if (kind == StepKind::MakeIndex)
        decision = decideIndex(m_codes.value(entry) - 1);
    else if (kind == StepKind::Engine && m_passes > 0 && !m_otherSincePass)
        decision = decideEngine();
    if (m_lastEntry < 0 || !m_onlyWithWork)
        decision = StepDecision();
    if (decision.run)
        start(entry, m_codes.value(entry) - 1, kind);
    return decision;
}

StepDecision StepPlanner::afterStep() {
    if (m_bibtexPending)
        m_bibtexRun = std::exchange(m_bibtexPending, std::nullopt);
    if (m_indexPending)
        m_indexRun = std::exchange(m_indexPending, std::nullopt);
    if (m_biberPending)
        m_biberRun = std::exchange(m_biberPending, std::nullopt);
    const StepDecision nothing = skips(StepReason::Always);
    if (!m_onlyWithWork || m_lastKind != StepKind::Engine || engineFollows(m_lastEntry))
        return nothing;
    const StepDecision decision = decideEngine();
    if (!decision.run)
        return nothing;
    if (m_extraPasses == kExtraPasses)
        return skips(StepReason::NotSettled, m_passes);
    ++m_extraPasses;
    start(m_lastEntry, m_lastCommand, StepKind::Engine);
    return decision;
}

void StepPlanner::ranAlone(const QString &commandLine) {
    const StepKind kind = stepKindOf(commandLine);
    if (kind == StepKind::Bibtex)
        m_bibtexRun.reset();
    else if (kind == StepKind::MakeIndex)
        m_indexRun.reset();
    else if (kind == StepKind::Biber)
        m_biberRun.reset();
}

// What the step will read is taken now, before it runs. The last run's inputs are
// forgotten until it ends well, so a step that fails or is stopped runs again next time.
void StepPlanner::start(int entry, int command, StepKind kind) {
    m_lastEntry = entry;
    m_lastCommand = command;
    m_lastKind = kind;
    // A command Quireon does not know may write anything the engine reads back (a
    // nomenclature, a table): the pass after it is the user's to run.
    m_otherSincePass = m_otherSincePass || kind == StepKind::Other;
    if (kind == StepKind::Bibtex) {
        m_bibtexRun.reset();
        m_bibtexPending = bibtexInputs();
    } else if (kind == StepKind::MakeIndex) {
        m_indexRun.reset();
        m_indexPending = indexInputs(command);
    } else if (kind == StepKind::Biber) {
        m_biberRun.reset();
        m_biberPending = biberInputs();
    } else if (kind == StepKind::Engine) {
        ++m_passes;
        m_otherSincePass = false;
        m_beforePass = engineReadBack();
    }
}

StepDecision StepPlanner::decideBibtex() const {
    if (!QFileInfo::exists(filePath("bbl")))
        return runs(StepReason::OutputMissing, fileName("bbl"));
    if (!m_bibtexRun)
        return runs(StepReason::FirstRun);
    const BibtexInputs now = bibtexInputs();
    if (now.citations != m_bibtexRun->citations)
        return runs(StepReason::CitationsChanged);
    if (const QString bib = FileHash::firstChanged(m_bibtexRun->databases, now.databases);
        !bib.isEmpty())
        return runs(StepReason::DatabaseChanged, bib);
    return skips(StepReason::CitationsUnchanged);
}

StepDecision StepPlanner::decideBiber() const {
    if (!QFileInfo::exists(filePath("bbl")))
        return runs(StepReason::OutputMissing, fileName("bbl"));
    if (!m_biberRun)
        return runs(StepReason::FirstRun);
    if (biberInputs() != *m_biberRun)
        return runs(StepReason::CitationsChanged);
    return skips(StepReason::CitationsUnchanged);
}

// The control file holds the citations; the data sources it names are read too.
QByteArray StepPlanner::biberInputs() const {
    return AutoSteps::biberStep(m_folder, m_basename).inputs;
}

StepDecision StepPlanner::decideIndex(int command) const {
    if (!QFileInfo::exists(filePath("ind")))
        return runs(StepReason::OutputMissing, fileName("ind"));
    if (!m_indexRun)
        return runs(StepReason::FirstRun);
    const IndexInputs now = indexInputs(command);
    if (now.entries != m_indexRun->entries)
        return runs(StepReason::EntriesChanged);
    if (const QString style = FileHash::firstChanged(m_indexRun->style, now.style); !style.isEmpty())
        return runs(StepReason::DatabaseChanged, style);
    return skips(StepReason::EntriesUnchanged);
}

StepDecision StepPlanner::decideEngine() const {
    QFile log(filePath("log"));
    const RerunRequest request =
        log.open(QIODevice::ReadOnly) ? rerunRequestIn(log.readAll()) : RerunRequest::None;
    if (request == RerunRequest::LabelsChanged)
        return runs(StepReason::LabelsChanged);
    if (request == RerunRequest::PackageAsked)
        return runs(StepReason::PackageAsked);
    if (const QString changed = FileHash::firstChanged(m_beforePass, engineReadBack());
        !changed.isEmpty())
        return runs(StepReason::FileChanged, changed);
    return skips(StepReason::Settled);
}

// Whether a later entry, before the first empty one, is an engine step.
bool StepPlanner::engineFollows(int entry) const {
    for (int next = entry + 1; next < m_codes.size() && m_codes[next] != 0; ++next)
        if (kindOfEntry(next) == StepKind::Engine)
            return true;
    return false;
}

StepKind StepPlanner::kindOfEntry(int entry) const {
    const int code = m_codes.value(entry);
    return code > 0 ? stepKindOf(m_commands.value(code - 1)) : StepKind::Other;
}

StepPlanner::BibtexInputs StepPlanner::bibtexInputs() const {
    const AuxState aux = AuxState::read(m_folder, fileName("aux"));
    return {QCryptographicHash::hash(aux.bibtexLines, QCryptographicHash::Sha1),
            FileHash::of(m_folder, found(aux.databases + aux.styles))};
}

// The style is as much an input as the entries: a style of the user's own is edited too.
StepPlanner::IndexInputs StepPlanner::indexInputs(int command) const {
    QStringList style;
    if (QString name = indexStyleOf(m_commands.value(command)); !name.isEmpty()) {
        if (QFileInfo(name).suffix().isEmpty() && TexSearch::find(m_folder, name).isEmpty())
            name += QLatin1String(".ist");
        style = found({name});
    }
    return {FileHash::of(filePath("idx")), FileHash::of(m_folder, style)};
}

// Files as the tools find them: beside the document, else on TeX's search path. A name
// found nowhere stays as it is, a missing file.
QStringList StepPlanner::found(const QStringList &names) const {
    QStringList paths;
    for (const QString &name : names) {
        const QString path = TexSearch::find(m_folder, name);
        paths.append(path.isEmpty() ? name : path);
    }
    return paths;
}

FileHashes StepPlanner::engineReadBack() const {
    return FileHash::engineReadBack(m_folder, m_basename,
                                    AuxState::read(m_folder, fileName("aux")).files);
}

QString StepPlanner::fileName(const char *extension) const {
    return m_basename + QLatin1Char('.') + QLatin1String(extension);
}

QString StepPlanner::filePath(const char *extension) const {
    return m_basePath + QLatin1Char('.') + QLatin1String(extension);
}
