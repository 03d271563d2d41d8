#pragma once

#include <QObject>

class StopSignals;

// Quireon's way out, for the windows and for a batch run alike. The tools run in process
// groups of their own, so a signal that ended Quireon on the spot would leave them running.
// SIGINT, SIGTERM, SIGHUP and SIGQUIT are caught instead: the first is reported as
// stopRequested, whose receiver stops its runs (as the Stop button does) and quits; one
// that comes later kills every tool process still waiting to be reaped at once. The guard
// is meant to be destroyed after the owners of the runs: its destructor waits, within the
// grace times, until every tool process handed to the reaper has been ended and reaped.
class ExitGuard : public QObject
{
    Q_OBJECT
public:
    explicit ExitGuard(QObject *parent = nullptr);
    ~ExitGuard() override;

    // The first signal received; 0 while none came.
    int signalNumber() const { return m_signalNumber; }
    // The exit status after a signal, 128 plus its number, as shells report it.
    static int statusAfter(int signalNumber) { return 128 + signalNumber; }

signals:
    void stopRequested(int signalNumber);

private:
    void received(int signalNumber);

    StopSignals *m_signals; // a child of the guard
    int m_signalNumber = 0;
    bool m_leaving = false; // the destructor runs: nobody is left to stop runs
    bool m_hurry = false;
};
