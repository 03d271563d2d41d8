// Launch time: from starting the process to the first painted document window, for
// Quireon opening a root file and for a bare Qt window, each started ten times (or the
// number given as the first argument); the medians are compared. Both run offscreen with
// a settings folder and an instance name of their own.
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {
// Milliseconds until the program printed "first paint"; -1 when it never did.
double timeToFirstPaint(const QString &program, const QStringList &arguments,
                        const QProcessEnvironment &environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    while (process.waitForReadyRead(30000))
        if (process.readAllStandardOutput().contains("first paint")) {
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            process.waitForFinished(10000);
            return ms;
        }
    process.kill();
    process.waitForFinished();
    return -1;
}

double medianLaunch(int times, const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment) {
    std::vector<double> samples;
    for (int i = 0; i < times; ++i) {
        const double ms = timeToFirstPaint(program, arguments, environment);
        if (ms < 0)
            qFatal("%s never painted", qPrintable(program));
        samples.push_back(ms);
    }
    return median(samples);
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int times = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    const QString here = QCoreApplication::applicationDirPath();
    const QString quireon = QDir(here).absoluteFilePath(QStringLiteral("../src/quireon"));
    const QString bare = QDir(here).absoluteFilePath(QStringLiteral("bare_window"));
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("paper.tex"));
    QFile file(root);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(root));
    file.close();
    // A built project, as the figures before the build on opening were taken with.
    QFile pdf(dir.filePath(QStringLiteral("paper.pdf")));
    if (!pdf.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(pdf.fileName()));
    pdf.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QUIREON_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    // The single-instance name follows the display: a private one keeps a running Quireon out.
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"),
                       QStringLiteral("launch-bench-%1").arg(QCoreApplication::applicationPid()));

    timeToFirstPaint(bare, {}, environment); // warms the file cache for both
    timeToFirstPaint(quireon, {root}, environment);
    const double bareMs = medianLaunch(times, bare, {}, environment);
    const double quireonMs = medianLaunch(times, quireon, {root}, environment);
    QTextStream out(stdout);
    out << "medians of " << times << " launches each\n";
    out << "launch: " << QString::number(quireonMs / bareMs, 'f', 2) << QChar(0x00D7)
        << " bare window (" << QString::number(quireonMs, 'f', 0) << " ms vs "
        << QString::number(bareMs, 'f', 0) << " ms)\n";
    return 0;
}
