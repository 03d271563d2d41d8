// Builds eight copies of a generated thesis (citations, labels, a table of contents: the
// passes of pdfLaTeX and the BibTeX run each needs) in one `quireon --batch` call, once with --jobs 1 and
// once with --jobs 2, from the same clean state, and compares the wall times. On two cores
// the second should take at most 0.6 of the first. The first argument is the number of
// rounds (1); the medians are reported.
#include "benchsupport.h"
#include "generatedthesis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
constexpr int kCopies = 8;

// Seconds for one batch call on fresh copies; every copy must come out with its PDF.
double buildCopies(const QString &original, const QString &folder, int jobs) {
    QStringList roots;
    for (int copy = 1; copy <= kCopies; ++copy) {
        const QString copyFolder = folder + "/copy" + QString::number(copy);
        GeneratedThesis::copyTree(original, copyFolder);
        roots << copyFolder + "/thesis.tex";
    }
    QProcess batch;
    batch.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    batch.start(QCoreApplication::applicationDirPath() + "/../src/quireon",
                QStringList{"--batch", "--jobs", QString::number(jobs)} + roots);
    if (!batch.waitForFinished(600000) || batch.exitCode() != 0)
        qFatal("the batch call with %d jobs failed (exit %d)", jobs, batch.exitCode());
    const double seconds = double(clock.elapsed()) / 1000.0;
    for (const QString &root : std::as_const(roots))
        if (!QFileInfo::exists(QString(root).replace(".tex", ".pdf")))
            qFatal("no PDF for %s", qPrintable(root));
    return seconds;
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    QCoreApplication app(argc, argv);
    const int rounds = countArgument(argc, argv, 1);
    QuireonPrefs prefs;
    loadAsAtLaunch(prefs);
    prefs.setProcedureArray({2, 3, 2, 2, 0, 0, 0, 0}); // pdfLaTeX, BibTeX, pdfLaTeX, pdfLaTeX
    prefs.setOnlyStepsWithWork(true);
    if (!prefs.savePreferences())
        qFatal("cannot store the benchmark's settings");

    const QString original = dir.filePath("thesis");
    GeneratedThesis::generate(original);
    std::vector<double> one, two;
    for (int round = 0; round < rounds; ++round) {
        one.push_back(buildCopies(original, dir.filePath("one"), 1));
        two.push_back(buildCopies(original, dir.filePath("two"), 2));
    }
    const double ratio = median(two) / median(one);
    QTextStream(stdout) << kCopies << " roots: --jobs 1 " << QString::number(median(one), 'f', 2) << " s, --jobs 2 "
                        << QString::number(median(two), 'f', 2) << " s, ratio "
                        << QString::number(ratio, 'f', 2) << " (aim <= 0.60)\n";
    return 0;
}
