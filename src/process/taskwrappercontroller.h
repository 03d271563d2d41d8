#pragma once

#include <QString>
#include <QStringList>

// What a process runner reports to, always on the main thread and in this order:
// processStarted once, appendOutput for each chunk, processFinished once.
class TaskWrapperController
{
public:
    virtual ~TaskWrapperController() = default;
    virtual void processStarted(const QStringList &arguments) = 0;
    virtual void appendOutput(const QString &output) = 0;
    virtual void processFinished(const QStringList &arguments) = 0;
};
