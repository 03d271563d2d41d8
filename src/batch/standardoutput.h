#pragma once

#include <QObject>
#include <cstdio>

// A batch run's standard output. SIGPIPE is ignored from the start, so a reader that went
// away (`quireon --batch thesis.tex | head -1`) shows as a failed write, EPIPE, rather than
// ending Quireon before it has stopped its tools. Each write is flushed at once: the log
// reaches a pipe as the tools write it, and a failure shows at the write that met it.
class StandardOutput : public QObject
{
    Q_OBJECT
public:
    explicit StandardOutput(QObject *parent = nullptr);

    // Writes nothing once a write has failed.
    void write(const QString &text);
    // Flushes what is left; false, with a line on standard error, when a write failed.
    bool finish();
    // The errno of the first failed write; 0 while none failed.
    int error() const { return m_error; }

    // Writes text to a stream and flushes it; false when that failed.
    static bool writeTo(FILE *stream, const QString &text);

signals:
    // The first failed write, once.
    void failed();

private:
    void fail();

    int m_error = 0;
};
