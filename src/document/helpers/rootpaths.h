#pragma once

#include <QString>

// The paths every command and output file of a root file is built from. Only the last
// extension of the last path component is removed: my.notes.tex has the base name my.notes.
struct RootPaths {
    QString basePath;   // the path without the extension and its dot
    QString basename;   // the last component without the extension and its dot
    QString workingDir; // the folder, without a trailing separator ("/" for the root folder)

    static RootPaths derive(const QString &rootFilePath);
};

// The output file of extension ext that belongs to a base path.
QString outputPath(const QString &basePath, const QString &ext);
