#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace TestSupport {
void freshSettings() {
    // The folder is emptied: without CTest's setting, an empty name would be the current
    // folder, so a test started by hand from the source tree would wipe it.
    const QString dir = qEnvironmentVariable("QUIREON_TEST_CONFIG");
    if (dir.isEmpty() || QDir::isRelativePath(dir))
        qFatal("QUIREON_TEST_CONFIG must name an absolute settings folder of the tests' own; "
               "run the tests through ctest");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
}

QString fixture(const QString &name) {
    return QStringLiteral(QUIREON_FIXTURES "/") + name;
}

QString linkContent(const QString &path) {
    char buffer[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, n));
}

bool writeFile(const QString &path, const QByteArray &text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace TestSupport
