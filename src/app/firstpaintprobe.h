#pragma once

class QApplication;

// For the launch-time benchmark: when QUIREON_EXIT_AFTER_FIRST_PAINT is set, Quireon
// prints "first paint" once a document window has painted for the first time, and quits.
void installFirstPaintProbe(QApplication &app);
