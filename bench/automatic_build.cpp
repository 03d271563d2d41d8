// Builds a generated thesis that needs a bibliography, an index and a glossary of acronyms
// from nothing with `quireon --batch` and no settings (the automatic steps), checks that
// the PDF is complete, then edits one chapter's text and builds again: the time of both
// builds and the engine passes of each. Aims: complete, and one pass after the edit. The
// first argument is the number of rounds (1); the medians are reported.
#include "benchsupport.h"
#include "generatedthesis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
struct Built {
    double seconds = 0;
    int passes = 0;
};

// The thesis of the other benchmarks with an index entry and an acronym in every chapter.
void generateWithIndexAndGlossary(const QString &folder) {
    GeneratedThesis::generate(folder);
    const QString root = folder + "/thesis.tex";
    QByteArray text = GeneratedThesis::readAll(root);
    text.replace("\\begin{document}\n", "\\usepackage{makeidx}\\makeindex\n\\usepackage[acronym]{glossaries}\\makeglossaries\n"
                                        "\\newacronym{tex}{TeX}{a typesetting system}\n\\begin{document}\n");
    text.replace("\\end{document}", "\\printglossaries\n\\printindex\n\\end{document}");
    GeneratedThesis::write(root, text);
    for (int number = 1; number <= GeneratedThesis::kChapters; ++number) {
        const QString chapter = folder + "/chapters/ch" + QString::number(number) + ".tex";
        GeneratedThesis::write(chapter, GeneratedThesis::readAll(chapter) + "Set in \\gls{tex}\\index{glue}\\index{boxes!chapter " +
                                            QByteArray::number(number) + "}.\n");
    }
}

Built build(const QString &folder) {
    QProcess batch;
    batch.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    batch.start(QCoreApplication::applicationDirPath() + "/../src/quireon", {"--batch", "thesis.tex"});
    if (!batch.waitForFinished(600000) || batch.exitCode() != 0)
        qFatal("the build failed (exit %d)", batch.exitCode());
    Built built{double(clock.elapsed()) / 1000.0, 0};
    for (const QByteArray &line : batch.readAllStandardOutput().split('\n'))
        if (line.startsWith("Quireon> ") && line.contains("/pdflatex "))
            ++built.passes;
    return built;
}

bool complete(const QString &pdf) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    pdftotext.waitForFinished(60000);
    const QByteArray text = pdftotext.readAllStandardOutput();
    return text.contains("Bibliography") && text.contains("Author 7") && text.contains("Index") &&
           text.contains("chapter 8") && text.contains("a typesetting system");
}
} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    isolateBenchmark(dir);
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
    QCoreApplication app(argc, argv);
    const int rounds = countArgument(argc, argv, 1);
    std::vector<double> fresh, edited;
    int freshPasses = 0, editedPasses = 0;
    bool whole = true;
    for (int round = 0; round < rounds; ++round) {
        const QString folder = dir.filePath("round" + QString::number(round));
        generateWithIndexAndGlossary(folder);
        const Built first = build(folder);
        whole = whole && complete(folder + "/thesis.pdf");
        const QString chapter = folder + "/chapters/ch3.tex";
        GeneratedThesis::write(chapter, GeneratedThesis::readAll(chapter) + "One more sentence of text.\n");
        const Built second = build(folder);
        fresh.push_back(first.seconds);
        edited.push_back(second.seconds);
        freshPasses = first.passes;
        editedPasses = second.passes;
    }
    QTextStream(stdout) << "automatic build from nothing: " << QString::number(median(fresh), 'f', 2) << " s, "
                        << freshPasses << " passes, " << (whole ? "complete" : "INCOMPLETE")
                        << "; after a chapter edit: " << QString::number(median(edited), 'f', 2) << " s, "
                        << editedPasses << " pass(es) (aim 1)\n";
    return whole ? 0 : 1;
}
