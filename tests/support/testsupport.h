#pragma once
#include <QString>
namespace TestSupport {
// Empties the private settings folder of this test program.
void freshSettings();
QString fixture(const QString &name);
} // namespace TestSupport
