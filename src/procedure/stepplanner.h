#pragma once

#include "filehashes.h"
#include "stepkind.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Why a step of the procedure runs or is left out.
enum class StepReason {
    Always,             // the first step, a command of unknown kind, or every step asked for
    FirstRun,           // no earlier run of the step on this document is known
    OutputMissing,      // file: the output the step writes
    CitationsChanged,
    CitationsUnchanged,
    DatabaseChanged,    // file: the .bib
    EntriesChanged,
    EntriesUnchanged,
    LabelsChanged,
    PackageAsked,
    FileChanged,        // file: a file the engine reads back
    Settled,
    NotSettled,         // the added passes ran out after `passes` engine passes
};

struct StepDecision {
    bool run = true;
    StepReason reason = StepReason::Always;
    QString file;
    int passes = 0;
};

// The line of the log that tells a decision about the step named name; empty for a step
// that runs without a word.
QString stepNote(const StepDecision &decision, const QString &name);

// Decides which steps of an auto procedure have work to do, from the files the earlier
// steps left: BibTeX when its inputs changed since its last run, MakeIndex likewise, an
// engine pass after the procedure's first one when the pass before asked for it or changed
// a file that is read back; and after the procedure's last engine pass, whether the
// references still need another one.
class StepPlanner {
public:
    // Passes added after the procedure's last engine step, at most.
    static constexpr int kExtraPasses = 3;

    // A new procedure on the root file whose path without extension is basePath. codes are
    // its step codes (n > 0: command n), commandLines the command table's lines; with
    // onlyWithWork off every step runs.
    void begin(const QString &basePath, const QList<int> &codes, const QStringList &commandLines,
               bool onlyWithWork);
    // Whether the command step at entry runs; a step that runs is the one afterStep judges.
    StepDecision decide(int entry);
    // The step last started ended well: what it read is kept as the inputs of its kind's last
    // run. When it was the procedure's last engine pass and the references have not settled,
    // the decision runs it again: command index repeatCommand().
    StepDecision afterStep();
    int repeatCommand() const { return m_lastCommand; }
    // A command run on its own, outside a procedure: what was known of the last run of its
    // kind no longer holds.
    void ranAlone(const QString &commandLine);

private:
    struct BibtexInputs {
        QByteArray citations;
        FileHashes databases; // and the style
    };
    struct IndexInputs {
        QByteArray entries;
        FileHashes style;
    };

    StepDecision decideBibtex() const;
    StepDecision decideBiber() const;
    QByteArray biberInputs() const;
    StepDecision decideIndex(int command) const;
    StepDecision decideEngine() const;
    void start(int entry, int command, StepKind kind);
    bool engineFollows(int entry) const;
    StepKind kindOfEntry(int entry) const;
    BibtexInputs bibtexInputs() const;
    IndexInputs indexInputs(int command) const;
    QStringList found(const QStringList &names) const;
    FileHashes engineReadBack() const;
    QString fileName(const char *extension) const;
    QString filePath(const char *extension) const;

    QString m_basePath;
    QString m_folder;
    QString m_basename;
    QList<int> m_codes;
    QStringList m_commands;
    bool m_onlyWithWork = true;
    int m_lastEntry = -1;
    int m_lastCommand = -1;
    StepKind m_lastKind = StepKind::Other;
    int m_passes = 0;
    int m_extraPasses = 0;
    bool m_otherSincePass = false;
    FileHashes m_beforePass;
    // The inputs of the last run that ended well, and of the one that runs now.
    std::optional<BibtexInputs> m_bibtexRun, m_bibtexPending;
    std::optional<IndexInputs> m_indexRun, m_indexPending;
    std::optional<QByteArray> m_biberRun, m_biberPending;
};
