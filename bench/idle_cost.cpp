// The cost of doing nothing: 20 documents with auto mode on and the default check
// interval, each following the 30 files its last run read (as its log tells), sit idle
// for 60 seconds (or the seconds given as the first argument) with their windows shown,
// and the process's CPU time over that span is put per minute and as a share of one core.
#include "benchsupport.h"
#include "document/mydocument.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int kDocuments = 20;
constexpr int kInputs = 30;

// A document folder whose log names kInputs chapters in two sub-folders; the root's path.
QString makeProject(const QString &folder) {
    QByteArray log = "(./paper.tex\n";
    for (int i = 0; i < kInputs; ++i) {
        const QString name = QStringLiteral("part%1/chapter%2.tex").arg(i % 2).arg(i);
        QDir(folder).mkpath(QFileInfo(name).path());
        writeBenchFile(folder + u'/' + name, "Text.\n");
        log += "(./" + name.toUtf8() + ")\n";
    }
    writeBenchFile(folder + "/paper.log", log);
    writeBenchFile(folder + "/paper.tex", "");
    // Written last, as by that run: the project is built and nothing starts on opening.
    writeBenchFile(folder + "/paper.pdf", "%PDF-1.5\n");
    return folder + "/paper.tex";
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    QApplication app(argc, argv);
    const int seconds = countArgument(argc, argv, 60);
    QuireonPrefs prefs;
    loadAsAtLaunch(prefs);

    std::vector<std::unique_ptr<MyDocument>> documents;
    for (int i = 0; i < kDocuments; ++i) {
        const QString folder = dir.filePath(QStringLiteral("paper%1").arg(i));
        QDir().mkpath(folder);
        const QString root = makeProject(folder);
        documents.push_back(std::make_unique<MyDocument>());
        documents.back()->setFileName(root);
        documents.back()->showWindow();
        if (!documents.back()->autoRunModeOn())
            qFatal("auto mode is off");
    }
    // Let the windows settle before measuring.
    QTimer::singleShot(1000, &app, [&] {
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(seconds * 1000, &app, [cpuBefore, wall] {
            const double cpu = cpuSeconds() - cpuBefore;
            const double span = double(wall.elapsed()) / 1000.0;
            QTextStream out(stdout);
            out << "CPU time " << QString::number(cpu * 1000.0, 'f', 1) << " ms over "
                << QString::number(span, 'f', 1) << " s, "
                << QString::number(cpu * 60.0 / span * 1000.0, 'f', 1) << " ms per minute\n";
            out << "idle cost: " << QString::number(cpu / span * 100.0, 'f', 3) << "% of one core ("
                << kDocuments << " documents following " << kInputs << " files each, " << QString::number(span, 'f', 0) << " s)\n";
            QCoreApplication::quit();
        });
    });
    return app.exec();
}
