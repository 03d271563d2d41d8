#include "exitguard.h"

#include "processreaper.h"
#include "stopsignals.h"

ExitGuard::ExitGuard(QObject *parent) : QObject(parent), m_signals(new StopSignals(this))
{
    connect(m_signals, &StopSignals::received, this, &ExitGuard::received);
}

ExitGuard::~ExitGuard()
{
    m_leaving = true;
    ProcessReaper::instance().finishAll([this] {
        m_signals->collect();
        return m_hurry;
    });
}

void ExitGuard::received(int signalNumber)
{
    if (m_signalNumber != 0 || m_leaving) {
        // Whoever asks again does not want to wait for the grace times.
        m_hurry = true;
        ProcessReaper::instance().killAll();
        return;
    }
    m_signalNumber = signalNumber;
    emit stopRequested(signalNumber);
}
