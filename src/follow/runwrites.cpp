#include "runwrites.h"

#include "document/helpers/commandline.h"

#include <QFileInfo>
#include <QStringList>

#include <ctime>

namespace {
qint64 nanoseconds(const timespec &time) {
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The kernel stamps a file with its coarse clock, which may lag the precise one by a
// tick, or (newer kernels, some file systems) with the precise one: a step's start is
// taken on the coarse clock and its end on the precise one, so that whatever the step
// wrote lies between them; a file written before the run is older than the precise time
// at its start.
qint64 coarseNow() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return nanoseconds(now);
}

qint64 preciseNow() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

qint64 modified(const FileStamp &stamp) {
    return stamp.seconds * 1'000'000'000 + stamp.nanoseconds;
}

const QStringList kEngines = {
    "tex", "etex", "pdftex", "xetex", "luatex", "latex", "pdflatex", "xelatex", "lualatex",
    "dvilualatex", "luahbtex", "lualatex-dev", "platex", "uplatex", "latex-dev", "pdflatex-dev",
    "xelatex-dev", "context", "optex", "latexmk", "rubber", "texi2pdf", "texi2dvi", "arara"};
const QStringList kTools = {
    "bibtex", "bibtex8", "bibtexu", "pbibtex", "upbibtex", "biber", "makeindex", "mendex",
    "upmendex", "texindy", "xindy", "splitindex", "makeglossaries", "makeglossaries-lite",
    "bib2gls", "dvipdfmx", "dvipdfm", "xdvipdfmx", "dvips", "ps2pdf", "dvipdf", "epstopdf"};
// What the known tools read and never write.
const QStringList kSourceSuffixes = {"tex", "ltx", "sty", "cls", "bib", "bst", "ist", "xdy",
                                     "bbx", "cbx", "lbx", "dbx", "def", "cfg", "clo", "fd"};
} // namespace

RunWrites::Writer RunWrites::writerOf(const QString &commandLine) {
    const QString program = QFileInfo(CommandLine::words(commandLine).constFirst()).fileName();
    if (kEngines.contains(program))
        return Writer::Engine;
    return kTools.contains(program) ? Writer::Tool : Writer::Anything;
}

void RunWrites::runStarted() {
    m_steps.clear();
    m_runStart = preciseNow();
}

void RunWrites::stepStarted(const QString &commandLine) {
    m_steps.append({writerOf(commandLine), coarseNow(), 0});
}

void RunWrites::stepEnded() {
    if (!m_steps.isEmpty() && m_steps.last().end == 0)
        m_steps.last().end = preciseNow();
}

bool RunWrites::predatesRun(const FileStamp &stamp) const {
    return modified(stamp) <= m_runStart;
}

bool RunWrites::wrote(const QString &path, const FileStamp &stamp) const {
    const qint64 time = modified(stamp);
    const bool source = kSourceSuffixes.contains(QFileInfo(path).suffix());
    for (const Step &step : m_steps) {
        const bool during = time >= step.start && (step.end == 0 || time <= step.end);
        if (during && (step.writer == Writer::Anything || (step.writer == Writer::Tool && !source)))
            return true;
    }
    return false;
}
