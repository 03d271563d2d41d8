#pragma once

#include "document/helpers/filestamp.h"

#include <QList>
#include <QString>

// When each step of a run ran, so that a file found changed after the run can be told
// apart: written by one of the run's steps (a glossary, a nomenclature, a table that a
// script of the user's makes), or saved by the user meanwhile. Only the first kind is no
// reason to run again. Times are those the kernel stamps files with.
class RunWrites {
public:
    // What a step may write among the files a document reads.
    enum class Writer {
        // A TeX engine or a driver of one: it writes no source of the document, and what
        // it does write its own records name.
        Engine,
        // A known bibliography, index, glossary or conversion tool: outputs only, never a
        // source such as a .tex, .bib or style file.
        Tool,
        // Any other command, a script of the user's: whatever changes while it runs.
        Anything,
    };
    static Writer writerOf(const QString &commandLine);

    void runStarted();
    void stepStarted(const QString &commandLine);
    void stepEnded();

    // Whether the file's content, as stamped, is older than the run (or as old).
    bool predatesRun(const FileStamp &stamp) const;
    // Whether a step of the run wrote the file at path, last modified as stamped.
    bool wrote(const QString &path, const FileStamp &stamp) const;

private:
    struct Step {
        Writer writer;
        qint64 start;
        qint64 end; // 0 while the step runs
    };
    qint64 m_runStart = 0;
    QList<Step> m_steps;
};
