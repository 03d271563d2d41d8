#include "outputfiles.h"

#include "rootpaths.h"

namespace OutputFiles {

QStringList extensionsInUse(const QStringList &extensions) {
    QStringList inUse;
    for (const QString &ext : extensions)
        if (!ext.isEmpty())
            inUse.append(ext);
    return inUse;
}

QStringList clearablePaths(const QString &rootFilePath, const QString &basePath,
                           const QStringList &extensions) {
    QStringList paths;
    for (const QString &ext : extensionsInUse(extensions)) {
        if (ext.contains(QLatin1Char('/')))
            continue;
        const QString path = outputPath(basePath, ext);
        if (path != rootFilePath)
            paths.append(path);
    }
    return paths;
}
} // namespace OutputFiles
