#pragma once

#include "procedure/filehashes.h"
#include "toolstep.h"

#include <QList>
#include <QString>
#include <QStringList>

class BuildMemory;

// Plans a build with the steps the document needs: after each engine pass, the tools that
// pass showed are needed and have work (by the contents of what they read, never by dates),
// then another pass while the references have not settled, up to a limit. Each decision
// comes with the line the log shows.
class AutoPlanner {
public:
    static constexpr int kMaxPasses = 5;

    struct Step {
        enum class Kind { Engine, Tool, Done };
        Kind kind = Kind::Done;
        ToolStep tool;         // Tool: what runs
        QStringList notes;     // the decisions' lines, in order
        bool failed = false;   // Done: the build fails (a needed tool is blocked)
    };

    // base: where the engine writes its files, relative to folder ("thesis", "build/thesis").
    AutoPlanner(const QString &folder, const QString &base, const QString &engineName, BuildMemory &memory);

    // An engine pass starts: what it reads back is taken now.
    void passStarting();
    // The step after the one that just ended well (an engine pass or a tool).
    Step next();
    // The tool that next() handed out ended; ok: well.
    void toolEnded(bool ok);

private:
    void planTools(Step &step);
    QString rerunReason() const;
    FileHashes readBack() const;

    QString m_folder;
    QString m_base;
    QString m_engineName;
    BuildMemory &m_memory;
    int m_passes = 0;
    bool m_passEnded = false;
    QByteArray m_passLog;
    FileHashes m_beforePass;
    QStringList m_toolOutputs; // of every tool seen in this build, read back by the engine
    QList<ToolStep> m_queue;
    ToolStep m_running;
    FileHashes m_runningBefore;
    bool m_toolChangedOutputs = false;
};
