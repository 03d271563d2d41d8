#pragma once

#include <QString>
#include <QStringList>

// Which output files "clear files" may delete.
namespace OutputFiles {
// The slots in use of an output extension list, in order, as the confirmation shows them.
QStringList extensionsInUse(const QStringList &extensions);
// The output paths of the extensions in use, passing over every extension that would
// name the root file itself (its own extension) or reach outside the root file's folder
// (an extension holding a "/").
QStringList clearablePaths(const QString &rootFilePath, const QString &basePath,
                           const QStringList &extensions);
} // namespace OutputFiles
