#pragma once

#include <QString>

// A hand-edited settings file can hold a line that QSettings refuses: a section header
// without its closing bracket ("[broken"). QSettings then reports a format error and
// files every key after that line under the broken section, so none of them is read.
namespace SettingsRepair {
// Copies the file to a free name beside it ("<file>.unreadable", then ".unreadable.1"...).
// Answers the copy's path, or an empty string when no copy could be made.
QString keepCopy(const QString &path);
// Rewrites the file without the lines QSettings refuses, so that every other line is read
// where it stands. False when the file could not be rewritten.
bool dropUnreadableLines(const QString &path);
} // namespace SettingsRepair
