#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A tool that an engine pass showed the document needs, as the build runs it.
struct ToolStep {
    QString key;           // names the step in the build memory: "bibtex:thesis.aux"
    QString name;          // as the log names it: "BibTeX"
    QStringList arguments; // the program's name first, file names relative to the root's folder
    QByteArray inputs;     // a digest of everything it reads
    QStringList outputs;   // what it writes, relative to the root's folder
    // Why it must not run although it has work: a missing database, say; empty when it may.
    QString blocked;
};
