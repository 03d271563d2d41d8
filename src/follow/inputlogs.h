#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Readers of what the tools write about the files a run read. They take the text of a
// file and give names as the tool printed them; nothing here touches the disk except
// through the isFile test a caller hands in.
namespace InputLogs {
// Whether a name, as a tool printed it (relative to the root file's folder or
// absolute), is a file worth keeping. A log gives no boundaries around names with
// spaces, so the longest candidate that passes this test wins.
using IsFile = std::function<bool(const QString &name)>;

// The engine's recorder file: every INPUT and OUTPUT line, made absolute against its
// PWD line, each name once.
struct Recorded {
    QStringList inputs;
    QStringList outputs;
};
Recorded recorderFile(QStringView text);

// TeX breaks every log line after this many characters (bytes for pdfTeX), unless its
// max_print_line is raised; a name can be split across two lines.
constexpr qsizetype kTexLineWidth = 79;
// The lines that TeX broke, each joined again into one; lines it left whole are left out.
QStringList wrappedLines(QStringView text);

// Files the engine's log shows it opened: "(./chapter.tex", "(/abs/file.sty",
// "<./figs/a.png>", "<figs/a.png, id=1, ...>", "<use figs/a.pdf>" and the
// "File: x.eps Graphic file (type eps)" lines of the DVI route.
QStringList texLogReads(QStringView text, const IsFile &isFile);
// Files the engine's log shows it wrote: "\openout1 = `main.aux'.".
QStringList texLogWrites(QStringView text);
// The databases and the style file bibtex read ("Database file #1: refs.bib").
QStringList bibtexLogReads(QStringView text);
// The index style makeindex read ("Scanning style file ./style.ist.done (...)").
QStringList makeindexLogReads(QStringView text, const IsFile &isFile);
} // namespace InputLogs
