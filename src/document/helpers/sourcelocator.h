#pragma once

#include "filepresence.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringView>
#include <utility>

// A place in a source file: its absolute path and a line counted from 1.
struct SourceLocation {
    QString file;
    int line = 0;
    bool operator==(const SourceLocation &) const = default;
};

// Follows a TeX run's log line by line and tells where in the sources its problem lines
// point. TeX names a place in several ways: "file:12: message" (file-line-error), "l.12"
// some lines after a "!" error, "on input line 45." in LaTeX warnings (or in their
// "(package)" continuation lines), "at lines 30--32" in box notes; bibtex says "---line 3
// of file refs.bib". A bare line number belongs to the file on top of TeX's own file stack,
// which the log shows as "(./Chapter1/chapter1.tex" ... ")".
class SourceLocator {
public:
    using Located = QList<std::pair<qsizetype, SourceLocation>>;

    explicit SourceLocator(const QString &workingDir = QString());
    void setWorkingDir(const QString &dir);
    // Forgets the file stack and the lines still waiting: a new tool's output begins.
    void reset();
    // Lines still waiting for their place are given up (their ids no longer hold).
    void forgetWaiting();
    // Takes the next log line, known to the caller by id. problem: the line was counted as
    // an error, warning or note. Returns every line whose place became known with this one:
    // this line itself, or earlier ones that waited for it. Lines that name their own place
    // are located whether counted or not.
    Located take(QStringView line, qsizetype id, bool problem);
    // The file TeX is reading at this point of the log; empty outside any file.
    QString currentFile() const;
    // Files may have come or gone since the lines taken so far; names are looked up anew.
    void lookAgain() { m_files.lookAgain(); }

private:
    void trackFiles(QStringView line);
    qsizetype openFile(QStringView line, qsizetype from);
    bool isContext(QStringView line);
    SourceLocation at(const QString &name, int line) const;

    QDir m_dir; // the working folder, made once: names are resolved against it line by line
    QStringList m_stack;     // file names as TeX printed them; empty for other parentheses
    QList<qsizetype> m_waitingErrors;   // "!" lines waiting for their "l.N"
    QList<qsizetype> m_waitingWarnings; // warnings whose place may follow in continuations
    bool m_contextFollows = false;
    FilePresence m_files;
};
