// End to end through the real TeX tools: the auto procedure pdflatex, bibtex, pdflatex,
// pdflatex, open pdf on a document with a citation; auto mode following a thesis's
// chapter, bibliography and figure.
#include "documenttest.h"
#include "platform/desktopopener.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QFile>
#include <QSaveFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace DocumentTest;

namespace {
const QByteArray kSource = "\\documentclass{article}\n"
                           "\\begin{document}\n"
                           "As shown by \\cite{knuth84}, boxes and glue suffice.\n"
                           "\\bibliographystyle{plain}\n"
                           "\\bibliography{refs}\n"
                           "\\end{document}\n";
const QByteArray kBibliography = "@book{knuth84,\n"
                                 "  author = {Donald E. Knuth},\n"
                                 "  title = {The {\\TeX}book},\n"
                                 "  publisher = {Addison-Wesley},\n"
                                 "  year = {1984}\n"
                                 "}\n";

const QByteArray kThesis = "\\documentclass{article}\n\\usepackage{graphicx}\n"
                          "\\begin{document}\n\\input{Chapter2/chapter2}\n"
                          "\\includegraphics{figs/dot.png} \\cite{knuth84}\n"
                          "\\bibliographystyle{plain}\n\\bibliography{refs}\n\\end{document}\n";

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        QCOMPARE(gQuireonPrefs->procedureArray(), (QList<int>{2, 3, 2, 2, 8, 0, 0, 0}));
        MyDocument document;
        document.setFileName(writeFile(dir.filePath("main.tex"), kSource));
        control<QPushButton>(document, "buttonStartStop")->click();
        QVERIFY(waitIdle(document, 120000));

        const QStringList lines = logLines(document);
        const QStringList prompts = lines.filter(QRegularExpression("^Quireon> "));
        QCOMPARE(prompts.size(), 5);
        QVERIFY(prompts[1].startsWith("Quireon> /usr/bin/bibtex main"));
        QCOMPARE(prompts[4], QStringLiteral("Quireon> open main.pdf"));
        QCOMPARE(*opened, QStringList{dir.filePath("main.pdf")});

        QVERIFY(contents(dir.filePath("main.bbl")).contains("\\bibitem{knuth84}"));
        // The first run warned about the citation; the last one no longer does.
        const qsizetype lastRun = lines.lastIndexOf(prompts[3]);
        QVERIFY(
            lines.mid(0, lastRun).join('\n').contains("Citation `knuth84' on page 1 undefined"));
        QVERIFY(!lines.mid(lastRun).join('\n').contains("undefined"));
        QVERIFY(!contents(dir.filePath("main.log")).contains("undefined"));

        QCOMPARE(fieldText(document, "textNumErrors"), QStringLiteral("0"));
        QVERIFY(fieldText(document, "textNumWarnings").toInt() >= 2); // citation and references
        QCOMPARE(fieldText(document, "textNumPages"), QStringLiteral("1"));
        const QString lastCommand = prompts[3].mid(MyDocument::promptPrefix.size());
        QCOMPARE(fieldText(document, "statusField"), Text::format("DoneStatus", {lastCommand}));
        QVERIFY(control<QPushButton>(document, "buttonExe2")->isEnabled()); // main.aux exists
        QVERIFY(control<QPushButton>(document, "buttonFile1")->isEnabled());
    }

    void autoModeFollowsWhatTheThesisReads() {
        QTemporaryDir dir;
        writeFile(dir.filePath("refs.bib"), kBibliography);
        QVERIFY(QDir(dir.path()).mkpath("Chapter2") && QDir(dir.path()).mkpath("figs"));
        const QString chapter = writeFile(dir.filePath("Chapter2/chapter2.tex"), "\\label{first}\n");
        QVERIFY(QFile::copy(QUIREON_TESTDATA "/follow/figs/dot.png", dir.filePath("figs/dot.png")));
        setProcedure({1, 2, 1});
        MyDocument document;
        document.setFileName(writeFile(dir.filePath("main.tex"), kThesis));
        control<QPushButton>(document, "buttonStartStop")->click();
        QVERIFY(waitIdle(document, 120000));
        const auto log = logLines(document);
        const auto rerunAfter = [&](auto save, const QString &name) {
            QVERIFY(save());
            QTRY_VERIFY_WITH_TIMEOUT(document.isRunning(), 5000);
            QVERIFY(waitIdle(document, 120000));
            QCOMPARE(logLines(document).value(0), MyDocument::promptPrefix + Text::format("FileChangedLog", {name}));
            QCOMPARE(fieldText(document, "textNumErrors"), QStringLiteral("0"));
        };

        // Nobody edits: nothing starts, whatever the run wrote.
        QTest::qWait(10000);
        QCOMPARE(logLines(document), log);

        rerunAfter([&] { return writeFile(chapter, "\\label{second}\n") == chapter; }, "Chapter2/chapter2.tex");
        QVERIFY(contents(dir.filePath("main.aux")).contains("\\newlabel{second}"));
        rerunAfter([&] {
            QSaveFile file(dir.filePath("refs.bib"));
            return file.open(QIODevice::WriteOnly)
                && file.write(QByteArray(kBibliography).replace("The {\\TeX}book", "Renamed Title")) > 0
                && file.commit();
        }, "refs.bib");
        QVERIFY(contents(dir.filePath("main.bbl")).contains("Renamed Title"));
        rerunAfter([&] { return QFile::remove(dir.filePath("figs/dot.png"))
                              && QFile::copy(QUIREON_TESTDATA "/follow/figs/dot.png", dir.filePath("figs/dot.png")); },
                   "figs/dot.png");
    }
};

QTEST_MAIN(TestDocumentBibtex)
#include "test_document_bibtex.moc"
