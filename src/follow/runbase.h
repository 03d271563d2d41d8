#pragma once

#include <QString>

// Where the engine writes its own files (.log, .fls, .aux) for a root file: beside the root
// file under its base name, unless the engine's command line sends them to another folder
// (-output-directory) or gives the job another name (-jobname). The path returned lacks
// only the extension, as a root file's base path does.
namespace RunBase {
QString of(const QString &rootFilePath, const QString &engineCommand);
}
