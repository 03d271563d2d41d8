#include "shippedtemplates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString shippedTemplatesFolder()
{
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../" QUIREON_DATADIR "/quireon/templates"));
    if (QFileInfo(installed).isDir())
        return installed;
    return QStringLiteral(QUIREON_SOURCE_TEMPLATES);
}
