#include "testsupport.h"

#include <QDir>

namespace TestSupport {
void freshSettings()
{
    const QString dir = qEnvironmentVariable("QUIREON_TEST_CONFIG");
    Q_ASSERT(!dir.isEmpty());
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
}

QString fixture(const QString &name)
{
    return QStringLiteral(QUIREON_FIXTURES "/") + name;
}
} // namespace TestSupport
