#include "jsonreport.h"

#include "engine/buildrun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {
QString kindName(LineKind kind) {
    switch (kind) {
    case LineKind::Error:
        return QStringLiteral("error");
    case LineKind::Warning:
        return QStringLiteral("warning");
    default:
        return QStringLiteral("note");
    }
}

QJsonObject stepOf(const BuildStep &step) {
    QJsonObject object{{"command", step.command >= 0 ? QJsonValue(step.command + 1) : QJsonValue()},
                       {"name", step.name},
                       {"ran", step.ran},
                       {"reason", step.reason}};
    if (!step.ran)
        return object;
    object.insert("arguments", QJsonArray::fromStringList(step.arguments));
    using Kind = TaskWrapper::Ending::Kind;
    object.insert("exitStatus", step.ending.kind == Kind::Exited ? QJsonValue(step.ending.value) : QJsonValue());
    if (step.ending.kind == Kind::Signalled)
        object.insert("signal", step.ending.value);
    return object;
}

QJsonObject problemOf(const ProblemLine &problem, const QDir &base) {
    QJsonObject object{{"kind", kindName(problem.kind)}, {"text", problem.text}};
    if (problem.location) {
        object.insert("file", base.relativeFilePath(problem.location->file));
        object.insert("line", problem.location->line);
    }
    return object;
}
} // namespace

namespace JsonReport {
QJsonObject root(const QString &file, const BuildRun &run, const QDir &base) {
    QJsonArray steps;
    for (const BuildStep &step : run.steps())
        steps.append(stepOf(step));
    QJsonArray problems;
    for (const ProblemLine &problem : run.problems())
        problems.append(problemOf(problem, base));
    const LogCounts &counts = run.counts();
    const QString status = run.stopped() || !run.started() ? "stopped" : run.failed() ? "failed" : "done";
    return {{"file", file},
            {"status", status},
            {"counts", QJsonObject{{"errors", counts.errors}, {"warnings", counts.warnings}, {"notes", counts.notes}}},
            {"pages", counts.pages},
            {"steps", steps},
            {"problems", problems}};
}

bool write(const QString &path, const QJsonArray &roots, int exitStatus, QString *errorText) {
    QSaveFile file(path);
    const QByteArray text =
        QJsonDocument(QJsonObject{{"roots", roots}, {"exitStatus", exitStatus}}).toJson(QJsonDocument::Indented);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    *errorText = file.errorString();
    return false;
}
} // namespace JsonReport
