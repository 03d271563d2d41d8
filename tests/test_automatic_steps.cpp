// The steps a document needs, found with no settings at all: real projects built by
// `quireon --batch` with the real tools, judged by the text of the PDFs they make and by the
// steps each build ran.
#include "testsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Build {
    int exitCode = -1;
    QStringList lines;
    // How many times the log shows a program started.
    int starts(const QString &program) const {
        return int(lines.filter(QRegularExpression("^Quireon> \\S*/" + program + " ")).size());
    }
};

QString pdfText(const QString &pdf) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified()
                                            : QString();
}

const QByteArray kRefs = "@book{knuth, author = {Donald Knuth}, title = {The TeXbook}, publisher = {AW}, year = {1984}}\n"
                         "@book{lamport, author = {Leslie Lamport}, title = {LaTeX Manual}, publisher = {AW}, year = {1994}}\n";
} // namespace

class TestAutomaticSteps : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QTemporaryDir home; // the settings and the build memory of these runs: none to begin with
    QString path; // PATH for the runs

    void write(const QString &name, const QByteArray &text) {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        QVERIFY(TestSupport::writeFile(dir.filePath(name), text));
    }
    Build build(const QString &root) {
        QProcess batch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("PATH", path);
        batch.setProcessEnvironment(env);
        batch.setWorkingDirectory(dir.path());
        batch.start(QStringLiteral(QUIREON_BINARY_DIR "/src/quireon"), {"--batch", root});
        Build result;
        if (batch.waitForFinished(180000) && batch.exitStatus() == QProcess::NormalExit)
            result.exitCode = batch.exitCode();
        result.lines = QString::fromUtf8(batch.readAllStandardOutput()).split('\n');
        return result;
    }

private slots:
    void initTestCase() {
        for (const char *tool : {"pdflatex", "pdftotext", "makeindex", "bibtex"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("the TeX tools are not installed");
        path = qEnvironmentVariable("PATH");
    }
    void init() {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        path = qEnvironmentVariable("PATH");
    }

    // Each kind of project comes out complete from nothing, and a build with nothing
    // changed runs the engine once and no tool.
    void completeFromNothing_data() {
        TestSupport::columns<QByteArray, QByteArray, QString, QStringList>({"preamble", "body", "tool", "expected"});
        QTest::newRow("BibTeX with natbib")
            << QByteArray("\\usepackage{natbib}\n") << QByteArray("As \\citet{knuth} wrote.\n\\bibliographystyle{plainnat}\\bibliography{refs}\n")
            << "bibtex" << QStringList{"As Knuth [1984] wrote", "The TeXbook"};
        QTest::newRow("biblatex and Biber")
            << QByteArray("\\usepackage[backend=biber]{biblatex}\\addbibresource{refs.bib}\n")
            << QByteArray("As \\cite{lamport} wrote.\n\\printbibliography\n") << "biber" << QStringList{"Lamport", "LaTeX Manual"};
        QTest::newRow("index")
            << QByteArray("\\usepackage{makeidx}\\makeindex\n") << QByteArray("Glue\\index{glue} and boxes\\index{boxes}.\n\\printindex\n")
            << "makeindex" << QStringList{"Index", "boxes, 1", "glue, 1"};
        QTest::newRow("nomenclature")
            << QByteArray("\\usepackage{nomencl}\\makenomenclature\n")
            << QByteArray("Speed $c$.\\nomenclature{$c$}{speed of light in vacuum}\n\\printnomenclature\n") << "makeindex"
            << QStringList{"Nomenclature", "speed of light in vacuum"};
        QTest::newRow("glossary with acronyms")
            << QByteArray("\\usepackage[acronym]{glossaries}\\makeglossaries\n\\newacronym{cpu}{CPU}{central processing unit}\n")
            << QByteArray("A \\gls{cpu} computes.\n\\printglossaries\n") << "makeglossaries" << QStringList{"Acronyms", "CPU central processing unit"};
    }
    void completeFromNothing() {
        QFETCH(QByteArray, preamble);
        QFETCH(QByteArray, body);
        QFETCH(QString, tool);
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP("the tool is not installed");
        write("refs.bib", kRefs);
        write("chapters/one.tex", body);
        write("my thesis.tex", "\\documentclass{article}\n" + preamble + "\\begin{document}\n\\include{chapters/one}\n\\end{document}\n");
        const Build fresh = build("my thesis.tex");
        QCOMPARE(fresh.exitCode, 0);
        QVERIFY2(fresh.starts(tool) >= 1, qPrintable(fresh.lines.join('\n')));
        const QString text = pdfText(dir.filePath("my thesis.pdf"));
        QFETCH(QStringList, expected);
        for (const QString &words : expected)
            QVERIFY2(text.contains(words), qPrintable(words + " not in: " + text));

        // A second call is a restart: the memory is read back from the cache.
        const Build again = build("my thesis.tex");
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.starts("pdflatex"), 1);
        QCOMPARE(again.starts(tool), 0);
        // What the tools last read is kept in the user's cache, not beside the document.
        QCOMPARE(QDir(home.filePath("cache/quireon/builds")).entryList(QDir::Files).size(), 1);
        QVERIFY(QDir(dir.path()).entryList({"*.json"}).isEmpty());
        // An edit of a chapter's text alone: one pass, and it reaches the PDF.
        write("chapters/one.tex", "One more sentence.\n" + body);
        const Build edited = build("my thesis.tex");
        QCOMPARE(edited.starts("pdflatex"), 1);
        QCOMPARE(edited.starts(tool), 0);
        QVERIFY(pdfText(dir.filePath("my thesis.pdf")).contains("One more sentence."));
    }

    // A new citation runs the bibliography tool once; an edit of the .bib alone reaches the
    // PDF; a missing .bib keeps the last bibliography and says which file is missing.
    void bibliographyFollowsItsInputs() {
        if (QStandardPaths::findExecutable("biber").isEmpty())
            QSKIP("biber is not installed");
        write("refs.bib", kRefs);
        write("chapters/one.tex", "As \\cite{knuth} wrote.\n");
        write("thesis.tex", "\\documentclass{article}\n\\usepackage{biblatex}\\addbibresource{refs.bib}\n"
                            "\\begin{document}\n\\include{chapters/one}\n\\printbibliography\n\\end{document}\n");
        QCOMPARE(build("thesis.tex").exitCode, 0);
        write("chapters/one.tex", "As \\cite{knuth} and \\cite{lamport} wrote.\n");
        const Build cited = build("thesis.tex");
        QCOMPARE(cited.starts("biber"), 1);
        QVERIFY(pdfText(dir.filePath("thesis.pdf")).contains("LaTeX Manual"));

        write("refs.bib", QByteArray(kRefs).replace("LaTeX Manual", "A Document Preparation System"));
        const Build edited = build("thesis.tex");
        QCOMPARE(edited.starts("biber"), 1);
        QVERIFY(pdfText(dir.filePath("thesis.pdf")).contains("A Document Preparation System"));

        QVERIFY(QFile::remove(dir.filePath("refs.bib")));
        write("chapters/one.tex", "As \\cite{lamport} wrote.\n");
        const Build missing = build("thesis.tex");
        QCOMPARE(missing.starts("biber"), 0);
        QVERIFY(!missing.lines.filter(QRegularExpression("^Quireon> .*refs.bib is missing")).isEmpty());
        QVERIFY(pdfText(dir.filePath("thesis.pdf")).contains("A Document Preparation System"));
    }

    // The engine a root names in its magic comment builds it.
    void magicCommentChoosesTheEngine() {
        if (QStandardPaths::findExecutable("xelatex").isEmpty())
            QSKIP("xelatex is not installed");
        write("paper.tex", "% !TEX program = xelatex\n\\documentclass{article}\n\\usepackage{fontspec}\n"
                           "\\begin{document}\nUnicode text: Grüße.\n\\end{document}\n");
        const Build built = build("paper.tex");
        QCOMPARE(built.exitCode, 0);
        QVERIFY(built.starts("xelatex") >= 1);
        QCOMPARE(built.starts("pdflatex"), 0);
        QVERIFY(pdfText(dir.filePath("paper.pdf")).contains("Grüße"));
    }

    // A needed tool that is not installed fails the build with its name and package.
    void aMissingToolFailsWithItsName() {
        const QString bin = home.filePath("bin");
        QDir().mkpath(bin);
        for (const char *tool : {"pdflatex", "kpsewhich"})
            QVERIFY(QFile::link(QStandardPaths::findExecutable(tool), bin + "/" + tool));
        path = bin;
        write("index.tex", "\\documentclass{article}\n\\usepackage{makeidx}\\makeindex\n\\begin{document}\n"
                           "Glue\\index{glue}.\n\\printindex\n\\end{document}\n");
        const Build built = build("index.tex");
        QCOMPARE(built.exitCode, 1);
        QVERIFY(!built.lines.filter(QRegularExpression("makeindex is needed but not installed.*texlive-binaries")).isEmpty());
    }
};

QTEST_MAIN(TestAutomaticSteps)
#include "test_automatic_steps.moc"
