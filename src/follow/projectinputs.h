#pragma once

#include <QString>
#include <QStringList>

// The files a root file's document read at its last run, as the tools' own files tell:
// the engine's recorder file when it is current, else the engine's log, plus bibtex's
// and makeindex's logs. Only files the user may edit are kept: those in the root file's
// folder tree or under the home folder, never TeX's own trees, never a file a run writes.
namespace ProjectInputs {
// The inputs of rootFilePath as absolute clean paths, without the root file itself.
// engineCommand is the command line that runs the engine (it may send the engine's own
// files elsewhere); outputExtensions are the settings' output extensions, which runs
// write too.
QStringList learn(const QString &rootFilePath, const QString &engineCommand,
                  const QStringList &outputExtensions, const QString &home);

// Whether an absolute clean path lies where the user keeps files that runs read: in
// rootFolder's tree or under home, and not in a TeX tree.
bool isUsersFile(const QString &path, const QString &rootFolder, const QString &home);
// Whether a run writes the file at path (an aux file, the output, a bibliography...).
bool isRunOutput(const QString &path, const QString &basePath, const QStringList &outputExtensions);
} // namespace ProjectInputs

// How the log names a file: relative to the root file's folder when it lies inside it.
QString shownName(const QString &path, const QString &rootFolder);
