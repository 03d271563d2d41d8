#pragma once

#include <QList>
#include <QObject>

class BuildRun;

// Builds several roots side by side on one event loop: at most `jobs` builds run at a time,
// started in the order they were added.
class BuildQueue : public QObject {
    Q_OBJECT
public:
    explicit BuildQueue(int jobs, QObject *parent = nullptr);

    // The run stays the caller's; it must outlive the queue's work.
    void add(BuildRun *run);
    void start();
    // Stops the running builds; the ones still waiting never start.
    void stop();

signals:
    void allFinished();

private:
    void fill();
    void runEnded(BuildRun *run);

    int m_jobs;
    QList<BuildRun *> m_waiting;
    QList<BuildRun *> m_running;
    bool m_stopping = false;
    bool m_done = false;
};
