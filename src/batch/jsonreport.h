#pragma once

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class BuildRun;

// A machine-readable account of a batch run: per root, the steps that ran or were left
// out and why, how each tool ended, the counts, the pages and every problem line with its
// place in the sources.
namespace JsonReport {
// One root's entry; file is the root as it was given, paths are relative to base.
QJsonObject root(const QString &file, const BuildRun &run, const QDir &base);
// Writes the whole report at once: a reader never sees half a file. False, with
// errorText set, when it could not be written.
bool write(const QString &path, const QJsonArray &roots, int exitStatus, QString *errorText);
} // namespace JsonReport
