#pragma once

#include <QStringList>

// What the test process holds at the moment: its open file descriptors, its child
// processes and how many of those are zombies, and its resident memory.
namespace ProcessCensus {
// "fd -> target" for every open descriptor, sorted.
QStringList openDescriptors();
// Process ids whose parent is this process.
QList<int> children();
// Children that have ended but were never reaped.
int zombieChildren();
// Resident set size in bytes.
qint64 residentBytes();
// The state letter of any process ('S', 'Z', ...); a null character once it is reaped.
QChar state(qint64 pid);
// Whether the process exists and has not ended (a zombie has ended).
bool running(qint64 pid);
// Whether any process of the group still runs; zombies do not count.
bool groupAlive(qint64 pgid);
} // namespace ProcessCensus
