#include "rootpaths.h"

RootPaths RootPaths::derive(const QString &rootFilePath) {
    const qsizetype slash = rootFilePath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = rootFilePath.lastIndexOf(QLatin1Char('.'));
    const qsizetype extensionDot = dot > slash ? dot : -1;
    RootPaths paths;
    paths.basePath = extensionDot < 0 ? rootFilePath : rootFilePath.left(extensionDot);
    paths.basename = paths.basePath.mid(slash + 1);
    paths.workingDir = slash < 0    ? QString()
                       : slash == 0 ? QStringLiteral("/")
                                    : rootFilePath.left(slash);
    return paths;
}

QString outputPath(const QString &basePath, const QString &ext) {
    return basePath + QLatin1Char('.') + ext;
}
