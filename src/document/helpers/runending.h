#pragma once

#include "process/taskwrapper.h"

#include <QString>

// What the way a tool ended says about its run, beyond what its log says.
namespace RunEnding {
// A tool that could not start, exited with a non-zero status or was ended by a signal
// that was not the runner's own has failed, whatever its output reads.
bool failed(const TaskWrapper::Ending &ending);
// One line of the log, newline included, telling how the failed tool `program` ended;
// empty when there is nothing to add (a launch failure has its own line already).
QString failureLine(const TaskWrapper::Ending &ending, const QString &program);
} // namespace RunEnding
