#pragma once
#include <QString>
#include <QTest>
#include <array>
namespace TestSupport {
// Declares the columns of a data-driven test at once: columns<int, QString>({"a", "b"}).
template <typename... T> void columns(const std::array<const char *, sizeof...(T)> &names) {
    int i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
}
// Empties the private settings folder of this test program.
void freshSettings();
QString fixture(const QString &name);
// The content of the symbolic link at path, exactly as stored; "" when it is none.
QString linkContent(const QString &path);
// Writes text to a new file at path, making its folders; false on failure.
bool writeFile(const QString &path, const QByteArray &text);
// The contents of the file at path; empty when it cannot be read.
QByteArray readFile(const QString &path);
} // namespace TestSupport
