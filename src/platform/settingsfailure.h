#pragma once

#include <QString>

// Tells the user, at most once per session, that the shared settings could not be saved,
// and once that the settings file held lines that could not be read.
// Quireon goes on with the settings it holds in memory.
namespace SettingsFailure {
// Makes every failed save of the shared settings tell the user (once), and a damaged
// settings file found before or after this call.
void install();
// Shows that the file was damaged and where its copy is kept, unless told already.
void fileDamaged(const QString &fileName, const QString &copy);
// Shows the alert unless the user has been told already.
void saveFailed(const QString &fileName);
// The preferences sheet tells about its own failed save in its own words; a failure it
// reports this way counts as told, and the alert is not shown on top of it.
void toldByCaller();
bool told();
// While one lives, failed saves are left to the caller to report.
class Quiet
{
public:
    Quiet();
    ~Quiet();
    Quiet(const Quiet &) = delete;
    Quiet &operator=(const Quiet &) = delete;
};
// Forgets that the user was told: for tests, which run many sessions in one process.
void reset();
} // namespace SettingsFailure
