// First lets /usr/bin/yes flood a document's log for a few seconds and stops it as the
// Stop button would: how long the stop held the event loop, and the resident memory
// before it. Then streams 200,000 LaTeX-like lines (about 15 MB) from a real child
// process through the process runner and the document's log scanner into its log view,
// puts the same text into a bare QPlainTextEdit in one call, and compares: wall time,
// peak memory and the longest stall of the event loop during the streamed run.
#include "benchsupport.h"
#include "document/mydocument.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {
const char *const kGenerator = R"AWK(BEGIN {
    for (i = 1; i <= 200000; i++) {
        if (i % 1000 == 0)
            print "! Undefined control sequence."
        else if (i % 100 == 0)
            printf "Overfull \\hbox (%d.5pt too wide) in paragraph at lines %d--%d\n", i % 17, i, i + 2
        else if (i % 50 == 0)
            printf "LaTeX Warning: Reference `sec:%d' on page %d undefined on input line %d.\n", i, i / 50, i
        else if (i % 10 == 0)
            printf "[%d] [%d] [%d]\n", i / 10, i / 10 + 1, i / 10 + 2
        else
            printf "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo file, line %d)\n", i
    }
    print "Output written on flood.pdf (20000 pages, 123456 bytes)."
}
)AWK";

QPlainTextEdit *logViewOf(MyDocument &document) {
    return document.myWindow()->findChild<QPlainTextEdit *>(QStringLiteral("logView"));
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void writeText(const QString &path, const QByteArray &text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct FloodRun {
    qint64 wallMs = 0;
    qint64 longestStallMs = 0;
};

// Runs command 1 of the document and records the largest gap between ticks of a 10 ms
// timer until the run has ended.
FloodRun runThroughDocument(MyDocument &document) {
    QElapsedTimer wall;
    QElapsedTimer sinceTick;
    FloodRun result;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        result.longestStallMs = std::max(result.longestStallMs, sinceTick.restart());
    });
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!document.isRunning())
            loop.quit();
    });
    wall.start();
    sinceTick.start();
    ticker.start();
    document.execCommandOfIndex(0);
    poll.start();
    loop.exec();
    result.wallMs = wall.elapsed();
    return result;
}

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const qint64 pages = statm.readAll().split(' ').value(1).toLongLong();
    return double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct StopRun {
    qint64 stopMs = 0;
    double residentMiB = 0;
};

// Runs command 2 of the document for floodMs, then stops it.
StopRun floodThenStop(MyDocument &document, int floodMs) {
    document.execCommandOfIndex(1);
    QElapsedTimer flooding;
    flooding.start();
    while (flooding.elapsed() < floodMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    StopRun result;
    result.residentMiB = residentMiB();
    QElapsedTimer stopping;
    stopping.start();
    document.startStopSequence();
    result.stopMs = stopping.elapsed();
    return result;
}

qint64 runIntoBareWidget(const QString &text) {
    QPlainTextEdit bare;
    bare.resize(620, 300);
    bare.show();
    QCoreApplication::processEvents();
    QElapsedTimer wall;
    wall.start();
    bare.appendPlainText(text);
    QCoreApplication::processEvents();
    return wall.elapsed();
}
} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    QApplication app(argc, argv);
    QuireonPrefs prefs;
    loadAsAtLaunch(prefs);

    writeText(dir.filePath("flood.awk"), kGenerator);
    writeText(dir.filePath("flood.sh"), "#!/bin/sh\nexec awk -f \"$(dirname \"$0\")/flood.awk\"\n");
    writeText(dir.filePath("flood.tex"), "");
    writeText(dir.filePath("flood.pdf"), "%PDF-1.5\n"); // current: opening starts no flood of its own
    QStringList commands = prefs.cmdCmdArray();
    commands[0] = QStringLiteral("/bin/sh ") + dir.filePath("flood.sh");
    commands[1] = QStringLiteral("/usr/bin/yes");
    prefs.setCmdCmdArray(commands);

    MyDocument document;
    document.setFileName(dir.filePath("flood.tex"));
    document.showWindow();
    QCoreApplication::processEvents();
    const StopRun stop = floodThenStop(document, 5000);
    QTextStream(stdout) << "yes for 5 s: log kept " << logViewOf(document)->document()->characterCount()
                        << " characters in " << logViewOf(document)->blockCount() << " lines\n";
    const FloodRun flood = runThroughDocument(document);
    const double peak = peakMiB();
    auto *logView = logViewOf(document);
    auto field = [&](const char *name) {
        return document.myWindow()->findChild<QLabel *>(name)->text();
    };

    QProcess generator;
    generator.start(QStringLiteral("/bin/sh"), {dir.filePath("flood.sh")});
    generator.waitForFinished(60000);
    const QString text = QString::fromUtf8(generator.readAllStandardOutput());
    const qint64 bareMs = runIntoBareWidget(text);

    QTextStream out(stdout);
    out << "streamed " << text.size() / 1e6 << " M characters, " << logView->blockCount() - 1
        << " log lines; errors " << field("textNumErrors") << ", warnings "
        << field("textNumWarnings") << ", notes " << field("textNumNotes") << ", pages "
        << field("textNumPages") << '\n';
    out << "document " << flood.wallMs << " ms, bare widget " << bareMs << " ms\n";
    out << "log flood: "
        << QString::number(double(flood.wallMs) / double(std::max<qint64>(1, bareMs)), 'f', 2)
        << QChar(0x00D7) << " bare widget, longest stall " << flood.longestStallMs << " ms, peak "
        << QString::number(peak, 'f', 0) << " MiB; Stop during a flood of yes "
        << stop.stopMs << " ms, resident before it "
        << QString::number(stop.residentMiB, 'f', 0) << " MiB\n";
    return 0;
}
