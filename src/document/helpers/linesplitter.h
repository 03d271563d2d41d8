#pragma once

#include <QString>

// Output arrives in chunks that end anywhere; only \n ends a line (a carriage return
// is an ordinary character).
namespace LineSplitter {
// Removes every complete line from the front of fraction and returns them as one text
// that ends with \n (empty when fraction holds no \n). The unfinished rest stays.
QString takeCompleteLines(QString &fraction);
} // namespace LineSplitter
