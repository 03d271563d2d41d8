// End to end through the real TeX tools: the auto procedure pdflatex, bibtex, pdflatex,
// pdflatex, open pdf on a document with a citation; the steps that saves of a thesis's
// chapters, bibliography and figure start.
#include "documenttest.h"

#include <QFile>
#include <QSaveFile>

using namespace DocumentTest;

namespace {
const QByteArray kSource = "\\documentclass{article}\n\\begin{document}\nAs shown by \\cite{knuth84}, boxes and glue "
                           "suffice.\n\\bibliographystyle{plain}\n\\bibliography{refs}\n\\end{document}\n";
const QByteArray kBibliography = "@book{knuth84,\n  author = {Donald E. Knuth},\n  title = {The {\\TeX}book},\n"
                                 "  publisher = {Addison-Wesley},\n  year = {1984}\n}\n";

const auto contents = TestSupport::readFile;

const QByteArray kThesis = "\\documentclass{report}\n\\usepackage{makeidx}\n\\usepackage{hyperref}\n"
                           "\\usepackage{graphicx}\n\\makeindex\n\\begin{document}\n\\tableofcontents\n"
                           "\\include{chapters/intro}\n\\include{chapters/method}\n"
                           "\\bibliographystyle{plain}\n\\bibliography{refs}\n\\printindex\n"
                           "\\end{document}\n";
const QByteArray kIntro = "\\chapter{Introduction}\\label{intro}\n"
                          "Boxes and glue\\index{glue} suffice \\cite{knuth84}.\n"
                          "\\includegraphics{figs/dot.png}\n";
const QByteArray kMethod = "\\chapter{Method}\n"
                           "As in Chapter~\\ref{intro}, we follow \\cite{lamport94}\\index{method}.\n";
const QByteArray kMoreEntries = "@book{lamport94, author = {Leslie Lamport}, title = {{\\LaTeX}},\n"
                                "  publisher = {Addison-Wesley}, year = {1994}}\n"
                                "@book{goossens94, author = {Michel Goossens}, title = {Companion},\n"
                                "  publisher = {Addison-Wesley}, year = {1994}}\n";

// The programs of the command steps that ran.
QStringList stepsRun(MyDocument &document) {
    QStringList programs;
    for (const QString &line : logLines(document).filter(QRegularExpression("^Quireon> /usr/bin/")))
        programs.append(line.section(' ', 1, 1).section('/', -1));
    return programs;
}
// How many steps the log says were skipped.
int skippedSteps(MyDocument &document) {
    return int(logLines(document).filter(QRegularExpression("^Quireon> .* skipped: ")).size());
}
} // namespace

class TestDocumentBibtex : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;

private slots:
    void initTestCase() {
        Text::installTable();
        if (!QFileInfo::exists("/usr/bin/pdflatex") || !QFileInfo::exists("/usr/bin/bibtex"))
            QSKIP("pdflatex or bibtex is not installed");
    }
    void init() { prefs = freshPrefs(); }
    void cleanup() { DesktopOpener::setOpener({}); }

    void procedureResolvesTheCitationAndOpensThePdf() {
        QTemporaryDir dir;
        writeFile(dir.filePath("refs.bib"), kBibliography);
        QStringList *opened = recordOpens();
        setProcedure({1, 2, 1, 1, -1});
        MyDocument document;
        document.setFileName(writeFile(dir.filePath("main.tex"), kSource));
        control<QPushButton>(document, "buttonStartStop")->click();
        QVERIFY(waitIdle(document, 120000));

        const QStringList lines = logLines(document);
        const QStringList prompts = lines.filter(QRegularExpression("^Quireon> (/|open )"));
        QCOMPARE(prompts.size(), 5);
        QVERIFY(prompts[1].startsWith("Quireon> /usr/bin/bibtex main"));
        QCOMPARE(prompts[4], QStringLiteral("Quireon> open main.pdf"));
        QCOMPARE(*opened, QStringList{dir.filePath("main.pdf")});

        // The first run warned about the citation; the last one no longer does.
        const qsizetype lastRun = lines.lastIndexOf(prompts[3]);
        QVERIFY(lines.mid(0, lastRun).join('\n').contains("Citation `knuth84' on page 1 undefined"));
        QVERIFY(!lines.mid(lastRun).join('\n').contains("undefined"));

        QVERIFY(fieldText(document, "textNumWarnings").toInt() >= 2); // citation and references
        QCOMPARE(fieldText(document, "textNumPages"), QStringLiteral("1"));
        const QString lastCommand = prompts[3].mid(MyDocument::promptPrefix.size());
        QCOMPARE(fieldText(document, "statusField"), Text::format("DoneStatus", {lastCommand}));
        QVERIFY(control<QPushButton>(document, "buttonExe2")->isEnabled()); // main.aux exists
        QVERIFY(control<QPushButton>(document, "buttonFile1")->isEnabled());
    }

    // Saves of the thesis's chapters, bibliography and figure start the procedure pdfLaTeX,
    // BibTeX, MakeIndex, pdfLaTeX, pdfLaTeX, which runs only the steps that have work.
    void savesRunOnlyTheStepsWithWork() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("chapters") && QDir(dir.path()).mkpath("figs"));
        writeFile(dir.filePath("refs.bib"), kBibliography + kMoreEntries);
        writeFile(dir.filePath("chapters/intro.tex"), kIntro);
        writeFile(dir.filePath("chapters/method.tex"), kMethod);
        const QString figure = dir.filePath("figs/dot.png");
        QVERIFY(QFile::copy(QUIREON_TESTDATA "/follow/figs/dot.png", figure));
        setProcedure({1, 2, 3, 1, 1});
        MyDocument document;
        document.setFileName(writeFile(dir.filePath("main.tex"), kThesis));
        const auto steps = [&] { return waitIdle(document, 120000) ? stepsRun(document) : QStringList{"hung"}; };
        // Saved by renaming a new file over the old one, as most editors do.
        const auto save = [&](const QString &name, const QByteArray &text) {
            QSaveFile file(dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()
                || !QTest::qWaitFor([&] { return document.isRunning(); }, 5000))
                return QStringList{"not started"};
            const QStringList ran = steps();
            const QString cause = MyDocument::promptPrefix + Text::format("FileChangedLog", {name});
            return logLines(document).value(0) == cause ? ran : QStringList{"started otherwise"};
        };
        const auto resolved = [&] {
            return !contents(dir.filePath("main.log")).contains("undefined") &&
                   fieldText(document, "textNumErrors") == "0";
        };
        const QStringList every{"pdflatex", "bibtex", "makeindex", "pdflatex", "pdflatex"};
        control<QPushButton>(document, "buttonStartStop")->click();
        QCOMPARE(steps(), every);
        QVERIFY(resolved());
        QVERIFY(contents(dir.filePath("main.ind")).contains("glue"));

        // Nobody edits: nothing starts, whatever the runs wrote.
        const QStringList quiet = logLines(document);
        QTest::qWait(10000);
        QCOMPARE(logLines(document), quiet);

        QCOMPARE(save("chapters/intro.tex", kIntro + "Another sentence.\n"), QStringList{"pdflatex"});
        QCOMPARE(skippedSteps(document), 4);

        QCOMPARE(save("chapters/method.tex", kMethod + "See \\cite{goossens94}.\n"),
                 (QStringList{"pdflatex", "bibtex", "pdflatex", "pdflatex"}));
        QVERIFY(resolved());
        QVERIFY(contents(dir.filePath("main.bbl")).contains("goossens94"));

        QCOMPARE(save("chapters/intro.tex", kIntro + "\\section{Scope}\\label{scope}\nSection~\\ref{scope}.\n"),
                 (QStringList{"pdflatex", "pdflatex"}));
        QVERIFY(resolved());

        QByteArray bibliography = contents(dir.filePath("refs.bib"));
        QCOMPARE(save("refs.bib", bibliography.replace("Companion", "Compendium")),
                 (QStringList{"pdflatex", "bibtex", "pdflatex"}));
        QVERIFY(contents(dir.filePath("main.bbl")).contains("Compendium"));
        QCOMPARE(save("figs/dot.png", contents(figure)), QStringList{"pdflatex"});

        gQuireonPrefs->setOnlyStepsWithWork(false);
        control<QPushButton>(document, "buttonStartStop")->click();
        QCOMPARE(steps(), every);
        QCOMPARE(skippedSteps(document), 0);
    }
};

QTEST_MAIN(TestDocumentBibtex)
#include "test_document_bibtex.moc"
