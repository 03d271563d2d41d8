// Auto mode with the real TeX tools over several saves: a step that writes a file the
// document reads (a glossary, a nomenclature, a table a script makes) never starts another
// run, while a chapter saved during a run gets exactly one more; a bibliography found
// through TeX's search path, and a bibliography style of the user's own, are followed and
// their edits reach the document.
#include "documenttest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTimer>

using namespace DocumentTest;

namespace {
// Several check intervals of one second, and the settling of file notifications.
constexpr int kQuietMs = 4000;
constexpr int kRunMs = 120000;

bool save(const QString &path, const QByteArray &text) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfText(const QString &pdf) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified()
                                             : QString();
}

// Counts the runs a document starts: it is running from a procedure's first step to its
// last, and idle for at least the settling time between two automatic runs.
class RunCounter : public QObject {
public:
    explicit RunCounter(const MyDocument &document) {
        connect(&m_poll, &QTimer::timeout, this, [this, &document] {
            const bool running = document.isRunning();
            m_starts += running && !m_running;
            m_running = running;
        });
        m_poll.start(5);
    }
    int starts() const { return m_starts; }

private:
    QTimer m_poll;
    int m_starts = 0;
    bool m_running = false;
};

const QByteArray kGlossary = "\\documentclass{article}\n\\usepackage[acronym]{glossaries}\n\\makeglossaries\n"
                             "\\newacronym{cpu}{CPU}{central processing unit}\n\\begin{document}\n"
                             "\\input{chapter}\n\\printglossaries\n\\end{document}\n";
const QByteArray kNomenclature = "\\documentclass{article}\n\\usepackage{nomencl}\n\\makenomenclature\n"
                                 "\\begin{document}\n\\input{chapter}\n\\printnomenclature\n\\end{document}\n";
const QByteArray kTable = "\\documentclass{article}\n\\begin{document}\n\\input{chapter}\n\\input{table}\n"
                          "\\end{document}\n";
const QByteArray kCiting = "\\documentclass{article}\n\\begin{document}\nSee \\cite{far}.\n"
                           "\\bibliographystyle{%1}\n\\bibliography{central}\n\\end{document}\n";
} // namespace

class TestAutoRebuilds : public DocumentTestCase {
    Q_OBJECT

    // Opens main.tex with the procedure pdfLaTeX, command 3, pdfLaTeX.
    MyDocument &openWithThirdStep(const QByteArray &root, const QString &third) {
        gQuireonPrefs->setInterval(1);
        setCommand(2, third);
        setProcedure({1, 3, 1});
        return openDocument("main.tex", root);
    }
    bool saveAndRun(const QString &name, const QByteArray &text) {
        return save(dir->filePath(name), text) && QTest::qWaitFor([&] { return document->isRunning(); }, 5000)
               && waitIdle(*document, kRunMs);
    }

private slots:
    void initTestCase() {
        for (const char *tool : {"/usr/bin/pdflatex", "/usr/bin/makeglossaries", "/usr/bin/makeindex", "/usr/bin/kpsewhich"})
            if (!QFileInfo::exists(tool))
                QSKIP("a TeX tool of these tests is not installed");
    }
    void init() { setUp(); }
    void cleanup() { document.reset(); }

    void stepOutputsStartNoRun_data() {
        // third: command 3 of the procedure; empty for the steps the document needs.
        TestSupport::columns<QByteArray, QByteArray, QString, QString>({"root", "chapter", "third", "made"});
        const QByteArray glossary = "The \\gls{cpu} computes.\n";
        const QByteArray nomenclature = "$c$ is fast.\\nomenclature{$c$}{Speed of light}\n";
        QTest::newRow("glossary with acronyms") << kGlossary << glossary << "/usr/bin/makeglossaries %1"
                                                << "central processing unit";
        QTest::newRow("nomenclature") << kNomenclature << nomenclature
                                      << "/usr/bin/makeindex %1.nlo -s nomencl.ist -o %1.nls" << "Speed of light";
        QTest::newRow("table made by a script") << kTable << QByteArray("A table follows.\n")
                                                << TestSupport::fixture("writes_table.sh") + " %1" << "Generated table for main";
        QTest::newRow("glossary, automatic steps") << kGlossary << glossary << "" << "central processing unit";
        QTest::newRow("nomenclature, automatic steps") << kNomenclature << nomenclature << "" << "Speed of light";
    }
    void stepOutputsStartNoRun() {
        QFETCH(QByteArray, root);
        QFETCH(QByteArray, chapter);
        QFETCH(QString, third);
        QFETCH(QString, made);
        writeFile(dir->filePath("chapter.tex"), chapter);
        writeFile(dir->filePath("table.tex"), "To be generated.\n");
        gQuireonPrefs->setAutomaticSteps(third.isEmpty());
        openWithThirdStep(root, third);
        RunCounter counter(*document);
        for (int saves = 1; saves <= 3; ++saves) {
            QVERIFY(saveAndRun("main.tex", root + "%" + QByteArray::number(saves) + "\n"));
            QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("0"));
            // The pass after the step takes in what the step made.
            QVERIFY(pdfText(dir->filePath("main.pdf")).contains(made));
        }
        QTest::qWait(kQuietMs);
        QCOMPARE(counter.starts(), 3);

        // A chapter saved while the run goes gets exactly one more run, and no other.
        QVERIFY(save(dir->filePath("main.tex"), root));
        QVERIFY(QTest::qWaitFor([&] { return document->isRunning(); }, 5000));
        QVERIFY(save(dir->filePath("chapter.tex"), chapter + "Saved during the run.\n"));
        QTRY_COMPARE_WITH_TIMEOUT(counter.starts(), 5, kRunMs);
        QVERIFY(waitIdle(*document, kRunMs));
        QTest::qWait(kQuietMs);
        QCOMPARE(counter.starts(), 5);
        QVERIFY(pdfText(dir->filePath("main.pdf")).contains("Saved during the run."));
    }

    // A bibliography in the user's own TeX tree, found by bibtex through the search path, and
    // a bibliography style beside the document: an edit of either reruns BibTeX.
    void bibliographyAndStyleFoundAsBibtexFindsThem() {
        const QString home = dir->filePath("home");
        QVERIFY(QDir().mkpath(home + "/texmf/bibtex/bib"));
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });
        const QString central = home + "/texmf/bibtex/bib/central.bib";
        writeFile(central, "@article{far, author = {Ann Author}, title = {Old Title}, journal = {J}, year = {2001}}\n");
        writeFile(dir->filePath("mystyle.bst"), contents("/usr/share/texlive/texmf-dist/bibtex/bst/base/plain.bst"));
        gQuireonPrefs->setInterval(1);
        setCommand(1, "/usr/bin/bibtex %1");
        setProcedure({1, 2, 1, 1});
        openDocument("main.tex", QString::fromLatin1(kCiting).arg("mystyle").toLatin1());
        QVERIFY(saveAndRun("main.tex", QString::fromLatin1(kCiting).arg("mystyle").toLatin1() + "%\n"));
        QVERIFY(pdfText(dir->filePath("main.pdf")).contains("Old title"));

        writeFile(central, "@article{far, author = {Ann Author}, title = {New Title}, journal = {J}, year = {2001}}\n");
        QTRY_VERIFY_WITH_TIMEOUT(document->isRunning(), 5000);
        QVERIFY(waitIdle(*document, kRunMs));
        QVERIFY(pdfText(dir->filePath("main.pdf")).contains("New title"));

        // The user's style now sets titles in capitals.
        QByteArray style = contents(dir->filePath("mystyle.bst"));
        style.replace("{ title \"t\" change.case$ }", "{ title \"u\" change.case$ }");
        QVERIFY(save(dir->filePath("mystyle.bst"), style));
        QTRY_VERIFY_WITH_TIMEOUT(document->isRunning(), 5000);
        QVERIFY(waitIdle(*document, kRunMs));
        QVERIFY(pdfText(dir->filePath("main.pdf")).contains("NEW TITLE"));
    }
};

QTEST_MAIN(TestAutoRebuilds)
#include "test_auto_rebuilds.moc"
