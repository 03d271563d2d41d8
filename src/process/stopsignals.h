#pragma once

#include <QObject>

class QSocketNotifier;

// Brings SIGINT, SIGTERM, SIGHUP and SIGQUIT into the event loop: the handler only writes
// the signal's number into a pipe, and the main thread reads it and reports it. While an
// object lives, these signals no longer end the program on their own.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override; // the default handling comes back

    // Reports the signals that came and were not reported yet; for the time when the event
    // loop no longer runs.
    void collect();

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};
