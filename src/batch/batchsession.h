#pragma once

#include "batchoptions.h"
#include "engine/buildqueue.h"
#include "engine/buildsettings.h"
#include "procedure/stepplanner.h"

#include <QJsonArray>
#include <QObject>
#include <memory>
#include <vector>

class BuildRun;
class StandardOutput;
struct LogChunk;

// Builds the roots of a batch run side by side and writes their logs to standard output:
// a single root's log as it comes, several roots' logs each as one block when that root
// ends. Each log ends with its summary line; several roots end with a line for them all.
class BatchSession : public QObject {
    Q_OBJECT
public:
    BatchSession(const BatchOptions &options, const BuildSettings &settings, StandardOutput &output,
                 QObject *parent = nullptr);
    ~BatchSession() override;

    void start();
    // Stops every running build; the ones still waiting never start.
    void stop();
    bool anyFailed() const { return m_failed > 0; }
    // The JSON report's entries for the roots, in the order they were given.
    QJsonArray reportRoots() const;

signals:
    void finished();

private:
    struct Root;
    void logLines(Root &root, const LogChunk &chunk);
    void rootEnded(Root &root);
    void allEnded();
    QString summaryOf(const Root &root) const;

    BatchOptions m_options;
    StandardOutput &m_output;
    std::vector<std::unique_ptr<Root>> m_roots;
    BuildQueue m_queue;
    int m_failed = 0;
    int m_built = 0;
};
