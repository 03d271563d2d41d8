#pragma once

#include <QString>

// What Quireon knows about a command of the procedure, told from its command line.
enum class StepKind {
    Engine,    // a LaTeX engine: reads back the .aux, lists, bibliography and index it wrote
    Bibtex,    // reads the citations of the .aux files and the .bib databases, writes the .bbl
    Biber,     // reads the .bcf and the data sources it names, writes the .bbl
    MakeIndex, // reads the .idx, writes the .ind
    Other,     // anything else: always runs
};

// The kind of a command line as the settings hold it ("%1" standing for the base name). It
// goes by the program's file name, and only when the last word is the root file itself
// ("%1" or "%1.<input extension>") and no option sends the outputs to another name or
// folder: Quireon looks for a step's files beside the root file, under its base name.
StepKind stepKindOf(const QString &commandLine);
// The index style an index command line names with "-s style"; empty when it names none.
QString indexStyleOf(const QString &commandLine);
