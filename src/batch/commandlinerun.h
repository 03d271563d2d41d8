#pragma once

#include <QList>
#include <QString>
#include <optional>

// Quireon as a command-line program: --help, --version and --batch are answered without a
// window, a display or the single-instance hand-over.
namespace CommandLineRun {
enum ExitCode { Done = 0, Failed = 1, BadInput = 2 };

// Whether the arguments ask for the command-line program rather than document windows.
bool wanted(int argc, char **argv);
// Runs it with its own application object and returns the program's exit code; a run
// ended by SIGINT or SIGTERM returns 128 plus the signal's number, as shells do.
int run(int argc, char **argv);
// "1,2,1,1" as command indexes counted from 0; nothing unless every entry is a command
// number from 1 to 5.
std::optional<QList<int>> commandIndexes(const QString &numbers);
} // namespace CommandLineRun
