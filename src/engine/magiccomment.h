#pragma once

#include <QString>

// The engine a root file asks for with the magic comment many editors share,
// "% !TEX program = xelatex", in its first lines: pdflatex, xelatex or lualatex; empty when
// it names none of them.
QString engineProgramOf(const QString &rootFilePath);
// The engine's command line with its program replaced by program, found beside the one it
// names or else on the PATH; unchanged when program is empty.
QString withEngineProgram(const QString &commandLine, const QString &program);
