#pragma once

// A generated thesis of several chapters with citations, labels and references, as the
// benchmarks build it: a root file, one file per chapter in chapters/, and refs.bib.
#include "benchsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace GeneratedThesis {
constexpr int kChapters = 8;
constexpr int kSections = 4;
constexpr int kEntries = 30;

inline void write(const QString &path, const QByteArray &text) {
    QDir().mkpath(QFileInfo(path).path());
    writeBenchFile(path, text);
}

inline QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray chapter(int number) {
    const QByteArray n = QByteArray::number(number);
    QByteArray text = "\\chapter{Chapter " + n + "}\\label{ch" + n + "}\n";
    for (int section = 1; section <= kSections; ++section) {
        const QByteArray s = QByteArray::number(section);
        text += "\\section{Part " + s + "}\\label{s" + n + "-" + s + "}\n";
        for (int paragraph = 0; paragraph < 5; ++paragraph)
            text += "Boxes and glue make pages, as \\cite{e" +
                    QByteArray::number((number * 7 + section * 3 + paragraph) % kEntries) +
                    "} showed; see Section~\\ref{s" + QByteArray::number(number % kChapters + 1) +
                    "-" + s + "} on page~\\pageref{s" + n + "-" + s + "}. " +
                    QByteArray("Lines break into paragraphs of even colour. ").repeated(6) + "\n\n";
    }
    return text;
}

inline void generate(const QString &folder) {
    QByteArray root = "\\documentclass{report}\n\\begin{document}\n\\tableofcontents\n";
    for (int number = 1; number <= kChapters; ++number)
        root += "\\include{chapters/ch" + QByteArray::number(number) + "}\n";
    root += "\\bibliographystyle{plain}\n\\bibliography{refs}\n\\end{document}\n";
    write(folder + "/thesis.tex", root);
    for (int number = 1; number <= kChapters; ++number)
        write(folder + "/chapters/ch" + QString::number(number) + ".tex", chapter(number));
    QByteArray bib;
    for (int entry = 0; entry < kEntries; ++entry)
        bib += "@book{e" + QByteArray::number(entry) + ", author = {Author " +
               QByteArray::number(entry) + "}, title = {Title " + QByteArray::number(entry) +
               "}, publisher = {Press}, year = {19" + QByteArray::number(50 + entry) + "}}\n";
    write(folder + "/refs.bib", bib);
}

// A copy of the tree from, replacing whatever was at to.
inline void copyTree(const QString &from, const QString &to) {
    QDir(to).removeRecursively();
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        write(to + path.mid(from.size()), readAll(path));
    }
}
} // namespace GeneratedThesis
