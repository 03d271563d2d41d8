#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <sys/types.h>

class QSocketNotifier;

// Runs xdg-open on one file as a child in a session of its own and learns how it ended
// from the event loop, never by waiting. xdg-open exits non-zero when no application
// takes the file. Some desktops run the viewer in xdg-open's place until the viewer
// closes, so only an end within the answer time counts as the desktop's answer; a child
// still running then is a viewer at work, and is only reaped when it ends.
class XdgOpen : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAnswerMilliseconds = 10000;

    // False when xdg-open cannot be started. Otherwise `failed` runs once xdg-open has
    // ended with a failure within the answer time, unless `context` is gone by then.
    static bool start(const QString &path, QObject *context, std::function<void()> failed);
    ~XdgOpen() override;

private:
    XdgOpen(pid_t pid, QObject *context, std::function<void()> failed);
    void check();

    pid_t m_pid;
    int m_pidFd = -1;
    QSocketNotifier *m_ended = nullptr;
    QTimer m_poll; // where the kernel offers no process descriptor
    QDeadlineTimer m_answerTime{kAnswerMilliseconds};
    QPointer<QObject> m_context;
    std::function<void()> m_failed;
};
