#include "standardoutput.h"

#include "settings/localizedtext.h"

#include <cerrno>
#include <csignal>
#include <cstring>

StandardOutput::StandardOutput(QObject *parent) : QObject(parent)
{
    // The tools get the default action back when they start (see ChildProcess).
    ::signal(SIGPIPE, SIG_IGN);
}

void StandardOutput::write(const QString &text)
{
    if (m_error == 0 && !writeTo(stdout, text))
        fail();
}

bool StandardOutput::finish()
{
    // Each write was flushed; this catches what a stream may still hold all the same.
    errno = 0;
    if (m_error == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        fail();
    if (m_error == 0)
        return true;
    writeTo(stderr, Text::format("CliOutputFailed", {QString::fromLocal8Bit(std::strerror(m_error))}));
    return false;
}

bool StandardOutput::writeTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    return std::fflush(stream) == 0 && written == size_t(bytes.size());
}

void StandardOutput::fail()
{
    m_error = errno != 0 ? errno : EIO;
    emit failed();
}
