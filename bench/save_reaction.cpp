// How fast auto mode reacts to a save of an included chapter: a document whose last run
// read Chapter2/chapter2.tex sits in auto mode with the default check interval; the
// chapter is saved 20 times (or the number given as the first argument), and each time
// the span from the save to the start of the tool, which notes the clock as it starts,
// is measured.
#include "benchsupport.h"
#include "document/mydocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <ctime>

namespace {
qint64 nowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Runs the event loop until done() holds or ms have passed; whether done() held.
template <typename Done> bool waitFor(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return done();
}

QList<qint64> startTimes(const QString &path) {
    QFile file(path);
    QList<qint64> times;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                times.append(line.toLongLong());
    return times;
}
} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    QApplication app(argc, argv);
    const int saves = countArgument(argc, argv, 20);
    QuireonPrefs prefs;
    loadAsAtLaunch(prefs);

    // The tool notes the clock the moment it starts.
    const QString tool = dir.filePath("note_start.sh");
    writeBenchFile(tool, "#!/bin/sh\ndate +%s%N >> \"$1.starts\"\n",
          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    prefs.setCmdCmdArray({tool + " %1"});
    prefs.setProcedureArray({2, 0, 0, 0, 0, 0, 0, 0});
    QDir(dir.path()).mkpath("Chapter2");
    const QString chapter = dir.filePath("Chapter2/chapter2.tex");
    writeBenchFile(dir.filePath("main.tex"), "\\documentclass{report}\\begin{document}\\input{Chapter2/chapter2}\\end{document}\n");
    writeBenchFile(chapter, "Chapter.\n");
    // The log of the document's last run, as pdflatex writes it.
    writeBenchFile(dir.filePath("main.log"), "(./main.tex\n(./Chapter2/chapter2.tex) (./main.aux)\n");
    writeBenchFile(dir.filePath("main.pdf"), "%PDF-1.5\n"); // its output: no build on opening

    MyDocument document;
    document.setFileName(dir.filePath("main.tex"));
    document.showWindow();
    const QString starts = dir.filePath("main.starts");
    QList<qint64> spans;
    for (int i = 0; i < saves; ++i) {
        waitFor([] { return false; }, 400); // the editor's pause between saves; the check timer runs on
        const qint64 saved = nowNs();
        writeBenchFile(chapter, "Chapter, save " + QByteArray::number(i) + ".\n");
        if (!waitFor([&] { return startTimes(starts).size() > i; }, 10000))
            qFatal("save %d started no run", i);
        spans.append((startTimes(starts).at(i) - saved) / 1000000);
        waitFor([&] { return !document.isRunning(); }, 10000);
    }
    std::sort(spans.begin(), spans.end());
    const qint64 median = spans.at(spans.size() / 2);
    const qint64 p90 = spans.at(std::min<qsizetype>(spans.size() - 1, spans.size() * 9 / 10));
    QTextStream out(stdout);
    out << "spans (ms, sorted):";
    for (qint64 span : spans)
        out << ' ' << span;
    out << "\nsave reaction: median " << median << " ms, p90 " << p90 << " ms over " << spans.size()
        << " saves\n";
    return 0;
}
