#include "runending.h"

#include "settings/localizedtext.h"

#include <QFileInfo>
#include <cstring>

namespace RunEnding {

bool failed(const TaskWrapper::Ending &ending) {
    using Kind = TaskWrapper::Ending::Kind;
    switch (ending.kind) {
    case Kind::NotStarted:
    case Kind::Signalled:
        return true;
    case Kind::Exited:
        return ending.value != 0;
    case Kind::Unknown:
    case Kind::EndedByStop:
        return false;
    }
    return false;
}

QString failureLine(const TaskWrapper::Ending &ending, const QString &program) {
    using Kind = TaskWrapper::Ending::Kind;
    if (!failed(ending) || ending.kind == Kind::NotStarted)
        return {};
    const QString name = QFileInfo(program).fileName();
    const QString number = QString::number(ending.value);
    if (ending.kind == Kind::Exited)
        return Text::format("ToolExitStatus", {name, number}) + QLatin1Char('\n');
    const QString signal = QString::fromLocal8Bit(::strsignal(ending.value));
    return Text::format("ToolSignal", {name, number, signal}) + QLatin1Char('\n');
}
} // namespace RunEnding
