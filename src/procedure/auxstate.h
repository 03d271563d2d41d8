#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a LaTeX run left in its .aux files: the root's .aux and every .aux it pulls in with
// \@input (the chapters of \include), with the lines that BibTeX reads from them.
struct AuxState {
    QStringList files;       // names relative to the folder, the root's .aux first
    QByteArray bibtexLines;  // the \citation, \bibdata and \bibstyle lines, in reading order
    QStringList databases;   // the .bib files named by \bibdata, as named there
    QStringList styles;      // the .bst file named by \bibstyle, as named there

    // Reads rootAux (a name relative to folder) and the files it pulls in; missing files
    // are left out.
    static AuxState read(const QString &folder, const QString &rootAux);
};
