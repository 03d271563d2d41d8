#include "buildqueue.h"

#include "buildrun.h"

#include <algorithm>

BuildQueue::BuildQueue(int jobs, QObject *parent) : QObject(parent), m_jobs(std::max(1, jobs)) {}

void BuildQueue::add(BuildRun *run) {
    m_waiting.append(run);
    connect(run, &BuildRun::finished, this, [this, run] { runEnded(run); });
}

void BuildQueue::start() {
    fill();
}

void BuildQueue::stop() {
    m_stopping = true;
    m_waiting.clear();
    for (BuildRun *run : QList<BuildRun *>(m_running))
        run->stop();
    fill();
}

// A build that ends at once reports from inside its start; the next one is started from
// the event loop, so a long list of such builds never nests.
void BuildQueue::fill() {
    while (!m_stopping && m_running.size() < m_jobs && !m_waiting.isEmpty()) {
        BuildRun *run = m_waiting.takeFirst();
        m_running.append(run);
        run->start();
    }
    if (m_running.isEmpty() && m_waiting.isEmpty() && !m_done) {
        m_done = true;
        emit allFinished();
    }
}

void BuildQueue::runEnded(BuildRun *run) {
    if (!m_running.removeOne(run))
        return;
    QMetaObject::invokeMethod(this, &BuildQueue::fill, Qt::QueuedConnection);
}
