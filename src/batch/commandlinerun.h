#pragma once

#include <QList>
#include <QString>
#include <optional>

// Quireon as a command-line program: --help, --version and --batch are answered without a
// window, a display or the single-instance hand-over.
namespace CommandLineRun {
// A closed standard output ends a run as SIGPIPE would end a program (128 + 13); any other
// failed write to it, a full disk say, has a status of its own.
enum ExitCode { Done = 0, Failed = 1, BadInput = 2, OutputFailed = 3, OutputClosed = 141 };

// Whether the arguments ask for the command-line program rather than document windows.
bool wanted(int argc, char **argv);
// Runs it with its own application object and returns the program's exit code; a run
// ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT returns 128 plus the signal's number, as
// shells do.
int run(int argc, char **argv);
// "1,2,1,1" as command indexes counted from 0; nothing unless every entry is a command
// number from 1 to 5.
std::optional<QList<int>> commandIndexes(const QString &numbers);
} // namespace CommandLineRun
