// The time of the auto procedure pdfLaTeX, BibTeX, pdfLaTeX, pdfLaTeX after one chapter's
// text is edited, on a generated thesis of several chapters with citations, labels and
// references: once running only the steps that have work, once running every step, from
// the same built state and the same edit. Both must give the same PDF. The first argument
// is the number of rounds (3); the medians are reported.
#include "benchsupport.h"
#include "generatedthesis.h"
#include "document/mydocument.h"
#include "window/mywindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {
using namespace GeneratedThesis;

double runProcedure(MyDocument &document) {
    QElapsedTimer clock;
    clock.start();
    document.startAutoProcedure();
    while (document.isRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return double(clock.elapsed()) / 1000.0;
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    // Fixed dates make pdfTeX write the same PDF for the same input.
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    qputenv("FORCE_SOURCE_DATE", "1");
    QApplication app(argc, argv);
    const int rounds = countArgument(argc, argv, 3);
    QuireonPrefs prefs;
    loadAsAtLaunch(prefs);
    prefs.setProcedureArray({2, 3, 2, 2, 0, 0, 0, 0});
    prefs.setOnlyStepsWithWork(true);

    const QString folder = dir.filePath("thesis");
    const QString built = dir.filePath("built");
    generate(folder);
    MyDocument document;
    document.setFileName(folder + "/thesis.tex");
    // Only the procedures started here run: the copies below would otherwise start auto mode.
    document.myWindow()->findChild<QCheckBox *>(QStringLiteral("checkAutoMode"))->click();
    runProcedure(document);
    if (!QFileInfo::exists(folder + "/thesis.pdf"))
        qFatal("the first procedure wrote no PDF");
    copyTree(folder, built);

    QTextStream out(stdout);
    std::vector<double> smart, every;
    bool same = true;
    const QString edited = folder + "/chapters/ch3.tex";
    for (int round = 0; round < rounds; ++round) {
        QByteArray pdfs[2];
        for (const bool onlyWithWork : {true, false}) {
            copyTree(built, folder);
            write(edited, readAll(edited) + "A sentence added in round " +
                              QByteArray::number(round) + ".\n");
            prefs.setOnlyStepsWithWork(onlyWithWork);
            (onlyWithWork ? smart : every).push_back(runProcedure(document));
            pdfs[onlyWithWork ? 0 : 1] = readAll(folder + "/thesis.pdf");
        }
        same = same && !pdfs[0].isEmpty() && pdfs[0] == pdfs[1];
        out << "round " << round + 1 << ": " << smart.back() << " s against " << every.back()
            << " s\n";
    }
    const double s = median(smart), f = median(every);
    out << "PDF " << (same ? "identical" : "DIFFERENT") << " with only the steps that have work\n";
    out << "smart procedure: " << QString::number(s, 'f', 2) << " s against "
        << QString::number(f, 'f', 2) << " s for every step (" << QString::number(s / f, 'f', 2)
        << " x)\n";
    return same ? 0 : 1;
}
