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
} // namespace ProcessCensus
