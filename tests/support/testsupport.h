#pragma once
#include <QString>
namespace TestSupport {
// Empties the private settings folder of this test program.
void freshSettings();
QString fixture(const QString &name);
} // namespace TestSupport
namespace TestSupport {
// The content of the symbolic link at path, exactly as stored; "" when it is none.
QString linkContent(const QString &path);
// Writes text to a new file at path, making its folders; false on failure.
bool writeFile(const QString &path, const QByteArray &text);
} // namespace TestSupport
