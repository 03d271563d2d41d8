#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How the lines of a tool's output are told apart: a line that begins with an entry of a
// list is an error, a warning or a note (tried in that order), and a command's page string
// ("Output written on %f (%n page") reads the page count.
struct LogRules {
    QStringList errorStrings;
    QStringList warningStrings;
    QStringList noteStrings;
    QStringList pageStrings; // one per command of the command table
    bool checkErrors = true;
    bool checkWarnings = true;
    bool checkNotes = true;
    bool checkPages = true;
};

// Everything a build reads of the settings, taken once when the build starts, so a change
// of the settings during a run applies from the next run on.
struct BuildSettings {
    static constexpr int kCommands = 5;
    static constexpr int kProcedureSteps = 8;

    QStringList commandNames; // the command table's rows, command 1 first
    QStringList commandLines;
    // The procedure's step codes: n > 0 runs command n, n < 0 opens output file -n, 0 ends.
    QList<int> procedure;
    bool onlyStepsWithWork = true;
    // The steps the document needs, found after each engine pass, instead of the procedure.
    bool automaticSteps = false;
    LogRules logRules;
    QString taskInput; // written to every tool's standard input
    quint32 logEncoding = 0;

    QString commandLine(int index) const { return commandLines.value(index); }
    QString commandName(int index) const { return commandNames.value(index); }
};
