// Deciding which steps of the auto procedure have work, from files read off real runs.
#include "engine/autoplanner.h"
#include "engine/autosteps.h"
#include "engine/buildmemory.h"
#include "procedure/auxstate.h"
#include "procedure/rerunrequest.h"
#include "procedure/stepplanner.h"
#include "settings/localizedtext.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kData = QStringLiteral(QUIREON_TESTDATA "/procedure/");
const QStringList kCommands = {"/usr/bin/pdflatex -synctex=1 %1", "/usr/bin/bibtex %1",
                               "/usr/bin/makeindex %1", "/usr/bin/makeindex -s mystyle %1",
                               "/usr/bin/makeindex %1.nlo -s nomencl.ist -o %1.nls"};

QByteArray dataFile(const QString &name) {
    QFile file(kData + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestProcedureSteps : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    StepPlanner planner;

    void put(const QString &name, const QByteArray &text) {
        QVERIFY(TestSupport::writeFile(dir->filePath(name), text));
    }
    // Starts a procedure of the given codes (1 pdflatex, 2 bibtex, 3 makeindex).
    void begin(const QList<int> &codes, bool onlyWithWork = true) {
        planner.begin(dir->filePath("main"), codes, kCommands, onlyWithWork);
    }
    void expect(const StepDecision &decision, bool run, StepReason reason, const QString &file = {}) {
        QCOMPARE(decision.run, run);
        QCOMPARE(decision.reason, reason);
        QCOMPARE(decision.file, file);
    }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        planner = StepPlanner();
        for (const QString aux : {"main.aux", "chapters/intro.aux", "chapters/method.aux"})
            put(aux, dataFile("thesis/" + aux));
        put("refs.bib", "@book{knuth84, title = {The TeXbook}}\n");
    }

    void kindOfCommandLine_data() {
        TestSupport::columns<QString, StepKind>({"line", "kind"});
        QTest::newRow("pdflatex") << "/usr/bin/pdflatex -synctex=1 -cnf-line=x=1 %1" << StepKind::Engine;
        QTest::newRow("xelatex on the .tex") << "/opt/bin/xelatex %1.tex" << StepKind::Engine;
        QTest::newRow("bibtex") << "/usr/bin/bibtex %1" << StepKind::Bibtex;
        QTest::newRow("makeindex with a style") << "/usr/bin/makeindex -s a.ist %1.idx" << StepKind::MakeIndex;
        QTest::newRow("other job name") << "/usr/bin/pdflatex -jobname=x %1" << StepKind::Other;
        QTest::newRow("other folder") << "/usr/bin/lualatex --output-directory=b %1" << StepKind::Other;
        QTest::newRow("index to elsewhere") << "/usr/bin/makeindex -o x.ind %1" << StepKind::Other;
        QTest::newRow("chapter bibliography") << "/usr/bin/bibtex ch1" << StepKind::Other;
        QTest::newRow("file not last") << "/usr/bin/bibtex %1 -terse" << StepKind::Other;
        QTest::newRow("program alone") << "/usr/bin/pdflatex" << StepKind::Other;
        QTest::newRow("biber") << "/usr/bin/biber %1" << StepKind::Biber;
    }
    void kindOfCommandLine() {
        QFETCH(QString, line);
        QFETCH(StepKind, kind);
        QCOMPARE(stepKindOf(line), kind);
    }

    void rerunRequestOfLog_data() {
        TestSupport::columns<QString, RerunRequest>({"log", "request"});
        QTest::newRow("labels") << "labels_changed.log" << RerunRequest::LabelsChanged;
        QTest::newRow("outlines") << "outlines_changed.log" << RerunRequest::PackageAsked;
        QTest::newRow("natbib") << "natbib_citations.log" << RerunRequest::PackageAsked;
        QTest::newRow("settled") << "settled.log" << RerunRequest::None;
        QTest::newRow("undefined only") << "undefined_citations.log" << RerunRequest::None;
        // A pass before Biber has run would change nothing.
        QTest::newRow("biblatex asks for Biber") << "biber_asked.log" << RerunRequest::None;
    }
    void rerunRequestOfLog() {
        QFETCH(QString, log);
        QFETCH(RerunRequest, request);
        QCOMPARE(rerunRequestIn(dataFile(log)), request);
        // TeX breaks long lines of its log at 79 columns.
        QByteArray broken = dataFile(log);
        broken.replace("Label(s) may have changed. Rerun", "Label(s) may have changed.\n Rerun");
        QCOMPARE(rerunRequestIn(broken), request);
    }

    void auxStateFollowsChapters() {
        put("loop.aux", "\\relax\n\\@input{loop.aux}\n\\bibdata{a,b.bib}\n");
        const AuxState thesis = AuxState::read(dir->path(), "main.aux");
        QCOMPARE(thesis.files, (QStringList{"main.aux", "chapters/intro.aux", "chapters/method.aux"}));
        QCOMPARE(thesis.bibtexLines, QByteArray("\\citation{knuth84}\n\\citation{lamport94}\n"
                                                "\\bibstyle{plain}\n\\bibdata{refs}\n"));
        QCOMPARE(thesis.databases, QStringList{"refs.bib"});
        const AuxState loop = AuxState::read(dir->path(), "loop.aux");
        QCOMPARE(loop.files, QStringList{"loop.aux"});
        QCOMPARE(loop.databases, (QStringList{"a.bib", "b.bib"}));
    }

    // pdfLaTeX, BibTeX, pdfLaTeX, pdfLaTeX over several saves.
    void bibtexRunsWhenItsInputsChange() {
        begin({1, 2, 1, 1});
        expect(planner.decide(0), true, StepReason::Always);
        put("main.log", dataFile("labels_changed.log"));
        expect(planner.afterStep(), false, StepReason::Always); // later passes decide
        expect(planner.decide(1), true, StepReason::OutputMissing, "main.bbl");
        put("main.bbl", "\\bibitem{knuth84}\n");
        planner.afterStep();
        put("main.log", dataFile("settled.log"));
        expect(planner.decide(2), true, StepReason::FileChanged, "main.bbl");
        planner.afterStep();
        expect(planner.decide(3), false, StepReason::Settled);

        const auto bibtexStep = [&] {
            begin({1, 2});
            planner.decide(0);
            planner.afterStep();
            return planner.decide(1);
        };
        expect(bibtexStep(), false, StepReason::CitationsUnchanged);
        put("chapters/intro.aux", dataFile("thesis/chapters/intro.aux") + "\\citation{new}\n");
        expect(bibtexStep(), true, StepReason::CitationsChanged);
        // That run failed: it did not end well, so the next procedure runs it again.
        expect(bibtexStep(), true, StepReason::FirstRun);
        planner.afterStep();
        put("refs.bib", "@book{knuth84, title = {The TeXbook, 2nd}}\n");
        expect(bibtexStep(), true, StepReason::DatabaseChanged, "refs.bib");
        planner.afterStep();
        planner.ranAlone(kCommands[0]);
        expect(bibtexStep(), false, StepReason::CitationsUnchanged);
        planner.ranAlone(kCommands[1]);
        expect(bibtexStep(), true, StepReason::FirstRun);
        begin({1, 2}, false);
        planner.decide(0);
        expect(planner.decide(1), true, StepReason::Always);
    }

    // Biber runs when the control file or a data source it names changed since its last run.
    void biberRunsWhenItsInputsChange() {
        const QStringList commands{kCommands[0], "/usr/bin/biber %1"};
        const QByteArray bcf = "<bcf:controlfile>\n<bcf:datasource type=\"file\" datatype=\"bibtex\">refs.bib"
                               "</bcf:datasource>\n<bcf:citekey order=\"1\">knuth84</bcf:citekey>\n</bcf:controlfile>\n";
        put("main.bcf", bcf);
        const auto biberStep = [&] {
            planner.begin(dir->filePath("main"), {1, 2}, commands, true);
            planner.decide(0);
            planner.afterStep();
            return planner.decide(1);
        };
        expect(biberStep(), true, StepReason::OutputMissing, "main.bbl");
        put("main.bbl", "\\entry{knuth84}\n");
        planner.afterStep();
        expect(biberStep(), false, StepReason::CitationsUnchanged);
        put("refs.bib", "@book{knuth84, title = {The TeXbook, 2nd}}\n");
        expect(biberStep(), true, StepReason::CitationsChanged);
        planner.afterStep();
        put("main.bcf", QByteArray(bcf).replace("knuth84", "lamport94"));
        expect(biberStep(), true, StepReason::CitationsChanged);
        planner.afterStep();
        planner.ranAlone(commands[0]);
        expect(biberStep(), false, StepReason::CitationsUnchanged);
        planner.ranAlone(commands[1]);
        expect(biberStep(), true, StepReason::FirstRun);
    }

    // A command of unknown kind may write what the engine reads back: the pass after it runs.
    void passAfterAnUnknownCommandRuns() {
        begin({1, 5, 1, 1});
        planner.decide(0);
        put("main.log", dataFile("settled.log"));
        planner.afterStep();
        expect(planner.decide(1), true, StepReason::Always);
        planner.afterStep();
        expect(planner.decide(2), true, StepReason::Always);
        planner.afterStep();
        expect(planner.decide(3), false, StepReason::Settled);
    }

    void makeIndexRunsWhenEntriesChange() {
        // Command 3 is MakeIndex; command 4 MakeIndex with a style of the user's own.
        const auto indexStep = [&](int command = 3) {
            begin({1, command});
            planner.decide(0);
            const StepDecision decision = planner.decide(1);
            planner.afterStep();
            return decision;
        };
        put("main.idx", "\\indexentry{glue}{2}\n");
        expect(indexStep(), true, StepReason::OutputMissing, "main.ind");
        put("main.ind", "\\item glue, 2\n");
        expect(indexStep(), false, StepReason::EntriesUnchanged);
        put("main.idx", "\\indexentry{glue}{3}\n");
        expect(indexStep(), true, StepReason::EntriesChanged);
        // A command run on its own leaves no record: MakeIndex alone may have failed half
        // way, so the next procedure runs it; the engine alone does not touch the index.
        planner.ranAlone(kCommands[0]);
        expect(indexStep(), false, StepReason::EntriesUnchanged);
        planner.ranAlone(kCommands[2]);
        expect(indexStep(), true, StepReason::FirstRun);

        // The style is an input too.
        put("mystyle.ist", "headings_flag 1\n");
        indexStep(4);
        expect(indexStep(4), false, StepReason::EntriesUnchanged);
        put("mystyle.ist", "headings_flag 0\n");
        expect(indexStep(4), true, StepReason::DatabaseChanged, "mystyle.ist");
        expect(indexStep(4), false, StepReason::EntriesUnchanged);
    }

    // After a tool, the pass it makes necessary names the file the tool changed: here a
    // second index, as imakeidx writes for \makeindex[name=names].
    void passAfterAToolNamesTheFileItChanged() {
        BuildMemory memory(dir->filePath("main.tex"));
        AutoPlanner automatic(dir->path(), "main", "pdfLaTeX", memory);
        QVERIFY(QFile::remove(dir->filePath("main.aux"))); // no citations: the index alone
        put("main.log", "\\openout1 = `names.idx'.\n");
        put("names.idx", "\\indexentry{glue}{1}\n");
        automatic.passStarting();
        AutoPlanner::Step step = automatic.next();
        QCOMPARE(step.kind, AutoPlanner::Step::Kind::Tool);
        QCOMPARE(step.tool.arguments, QStringList({"makeindex", "names.idx"}));
        put("names.ind", "\\item glue, 1\n");
        automatic.toolEnded(true);
        step = automatic.next();
        QCOMPARE(step.kind, AutoPlanner::Step::Kind::Engine);
        QVERIFY2(step.notes.last().contains("names.ind"), qPrintable(step.notes.join('\n')));
    }

    // A missing tool's message names the Debian 12 package that installs it.
    void missingToolsNameTheirPackage() {
        const QList<std::pair<const char *, const char *>> packages = {
            {"biber", "biber"}, {"bib2gls", "texlive-extra-utils"},
            {"makeglossaries", "texlive-latex-extra"}, {"splitindex", "texlive-latex-extra"},
            {"xelatex", "texlive-xetex"}, {"lualatex", "texlive-luatex"},
            {"makeindex", "texlive-binaries"}, {"bibtex", "texlive-binaries"}};
        for (const auto &[program, package] : packages)
            QCOMPARE(AutoSteps::debianPackageOf(program), QString(package));
    }

    void enginePassesAddedUntilSettledOrLimit() {
        begin({1, -1});
        planner.decide(0);
        put("main.log", dataFile("labels_changed.log"));
        for (int pass = 0; pass < StepPlanner::kExtraPasses; ++pass)
            expect(planner.afterStep(), true, StepReason::LabelsChanged);
        QCOMPARE(planner.repeatCommand(), 0);
        const StepDecision limit = planner.afterStep();
        expect(limit, false, StepReason::NotSettled);
        QCOMPARE(limit.passes, 1 + StepPlanner::kExtraPasses);

        begin({1});
        planner.decide(0);
        put("main.log", dataFile("settled.log"));
        put("main.toc", "\\contentsline{chapter}{1}\n");
        expect(planner.afterStep(), true, StepReason::FileChanged, "main.toc");
        expect(planner.afterStep(), false, StepReason::Always);
        begin({1}, false);
        planner.decide(0);
        put("main.log", dataFile("labels_changed.log"));
        expect(planner.afterStep(), false, StepReason::Always);
    }
};

QTEST_MAIN(TestProcedureSteps)
#include "test_procedure_steps.moc"
