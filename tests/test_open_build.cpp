// The build on opening: a document opened in auto mode whose PDF is missing, or older than
// its root file or a file its last run read (as the engine's log or recorder file names
// it), runs the auto procedure once; one whose PDF is current, or opened with auto mode
// off, runs nothing. Command 1 counts its runs in main.runs.
#include "documenttest.h"
#include "follow/outputcurrency.h"

#include <QCheckBox>
#include <QMessageBox>

using namespace DocumentTest;

namespace {
const QString kChapter = QStringLiteral("Chapter 2/chapter2.tex");
constexpr qint64 kSecond = 1'000'000'000; // in nanoseconds

// Sets a file's modification time seconds after (or before) now.
bool age(const QString &path, qint64 fromNow) {
    return setModified(path, QDateTime::currentSecsSinceEpoch() + fromNow);
}
} // namespace

class TestOpenBuild : public DocumentTestCase {
    Q_OBJECT
    QString chapter;

    int runs() {
        QFile file(dir->filePath("main.runs"));
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    // One look of auto mode's periodic check, which must find nothing more to do.
    void verifyCheckStartsNothing(int runsSoFar) {
        QVERIFY(QMetaObject::invokeMethod(document.get(), "timerProc"));
        QVERIFY(!document->isRunning());
        QCOMPARE(runs(), runsSoFar);
    }
    // Opens main.tex; nothing starts before the event loop has had its turn, and with it
    // the check that opening leaves for it.
    void open() {
        openDocument("main.tex", "\\input{Chapter 2/chapter2}");
        QVERIFY(!document->isRunning());
        QCoreApplication::processEvents();
    }
    void verifyBuiltOnce() {
        QVERIFY(document->isRunning());
        QVERIFY(waitIdle(*document));
        QVERIFY(logLines(*document).contains("counted run of main"));
        verifyCheckStartsNothing(1);
    }

private slots:
    void init() {
        setUp();
        MyDocument::setBuildWhenOpened(true);
        setCommand(0, TestSupport::fixture("count_run.sh") + " %1");
        setProcedure({1});
        chapter = dir->filePath(kChapter);
        QVERIFY(TestSupport::writeFile(chapter, "chapter") && age(chapter, -100));
        writeFile(dir->filePath("main.log"), "(./main.tex (./Chapter 2/chapter2.tex) (./main.aux)\n");
    }
    void cleanup() { document.reset(); }

    // A build starts when the PDF is missing or older than a file the last run read, here
    // the chapter the log names; the log then says why, although nothing was saved ("-":
    // no build). A run that writes no PDF makes no second build. Which file makes a PDF
    // stale is judged in staleBecause; which files the engine's log or recorder file
    // names, in the tests of following inputs.
    void openingBuildsAStalePdfOnce_data() {
        TestSupport::columns<int, int, QString>({"pdfAge", "chapterAge", "because"});
        QTest::newRow("no pdf") << 0 << -100 << "";
        QTest::newRow("current pdf") << 100 << -100 << "-";
        QTest::newRow("chapter newer") << 100 << 200 << kChapter;
    }
    void openingBuildsAStalePdfOnce() {
        QFETCH(int, pdfAge);
        QFETCH(int, chapterAge);
        QFETCH(QString, because);
        if (pdfAge)
            QVERIFY(age(writeFile(dir->filePath("main.pdf")), pdfAge));
        QVERIFY(age(chapter, chapterAge));
        open();
        if (because == "-")
            return verifyCheckStartsNothing(0);
        if (!because.isEmpty())
            QCOMPARE(logLines(*document).value(0), MyDocument::promptPrefix + Text::format("FileChangedLog", {because}));
        verifyBuiltOnce();
    }

    // Switched on again, auto mode answers saves only.
    void autoModeOffBuildsNothing() {
        const QString root = writeFile(dir->filePath("main.tex"));
        // Off before the root file is set, or switched off at once after.
        for (const bool beforeOpening : {true, false}) {
            document = std::make_unique<MyDocument>();
            auto *autoMode = control<QCheckBox>(*document, "checkAutoMode");
            if (beforeOpening)
                autoMode->click();
            document->setFileName(root);
            if (!beforeOpening)
                autoMode->click();
            QCoreApplication::processEvents();
            autoMode->click();
            verifyCheckStartsNothing(0);
        }
    }

    // A sheet up as the document opens holds the build back; auto mode's next check after
    // the sheet closed starts it.
    void sheetUpDefersTheBuild() {
        openDocument("main.tex");
        int answer = -1;
        Alerts::beginSheet(document->myWindow(), "A sheet", "up as the document opens", "OK", "Cancel",
                           [&answer](int code) { answer = code; });
        QCoreApplication::processEvents();
        QVERIFY(!document->isRunning());
        auto *sheet = document->myWindow()->findChild<QMessageBox *>();
        QVERIFY(sheet && sheet->isVisible());
        sheet->escapeButton()->click(); // Cancel, which closes it
        QCOMPARE(answer, Alerts::AlternateReturn);
        QVERIFY(QMetaObject::invokeMethod(document.get(), "timerProc"));
        verifyBuiltOnce();
    }

    // A sheet on another window leaves this one free: a run started by hand while the build
    // on opening waits stands in for it, even when it leaves no PDF.
    void runByHandWhileWaitingStandsInForIt() {
        QWidget other;
        Alerts::beginSheet(&other, "A sheet", "on another window", "OK", "Cancel", [](int) {});
        open();
        QVERIFY(!document->isRunning());
        QVERIFY(runCommand(*document, 0));
        delete other.findChild<QMessageBox *>();
        verifyCheckStartsNothing(1);
    }

    // What makes a PDF current, from modification times to the nanosecond. Each file's time
    // is in nanoseconds after a whole second, -1 when there is none; the result is the
    // stale file's name, "-" for a current PDF.
    void staleBecause_data() {
        TestSupport::columns<qint64, qint64, qint64, QString>({"rootNs", "readNs", "pdfNs", "stale"});
        QTest::newRow("pdf as new as the root") << 1000ll << 500ll << 1000ll << "-";
        QTest::newRow("root newer by a nanosecond") << 1000ll << 500ll << 999ll << "main.tex";
        QTest::newRow("read file newer") << 1000ll << 2001ll << 2000ll << "read.tex";
        QTest::newRow("read file a second on") << 1000ll << kSecond << 2000ll << "read.tex";
        QTest::newRow("pdf a second on") << 1000ll << 2001ll << kSecond << "-";
        QTest::newRow("read file as new") << 1000ll << 2000ll << 2000ll << "-";
        QTest::newRow("read file gone") << 1000ll << -1ll << 2000ll << "-";
        QTest::newRow("root gone") << -1ll << 500ll << 2000ll << "main.tex";
        QTest::newRow("no pdf") << 1000ll << 500ll << -1ll << "";
    }
    void staleBecause() {
        QFETCH(qint64, rootNs);
        QFETCH(qint64, readNs);
        QFETCH(qint64, pdfNs);
        const QString root = dir->filePath("main.tex");
        const QString read = dir->filePath("read.tex");
        const QString pdf = dir->filePath("main.pdf");
        for (const auto &[path, ns] : {std::pair{root, rootNs}, std::pair{read, readNs}, std::pair{pdf, pdfNs}})
            QVERIFY(ns < 0 || (writeFile(path), setModified(path, 1'000'000 + ns / kSecond, long(ns % kSecond))));
        const std::optional<QString> found = OutputCurrency::staleBecause(pdf, root, {read});
        QTEST(found ? (found->isEmpty() ? QString("") : QFileInfo(*found).fileName()) : QString("-"), "stale");
    }

    // With -output-directory the PDF and the engine's own records are in that folder; a PDF
    // left beside the root file does not count.
    void pdfInTheOutputFolder() {
        const QString root = writeFile(dir->filePath("main.tex"));
        const auto staleBecause = [&root](const QString &engine) {
            return OutputCurrency::pdfStaleBecause(root, engine, {}, QDir::homePath());
        };
        const QString engine = "pdflatex -output-directory=out %1";
        QVERIFY(TestSupport::writeFile(dir->filePath("out/main.log"), "(./main.tex (./Chapter 2/chapter2.tex))\n"));
        QVERIFY(age(writeFile(dir->filePath("main.pdf")), 300));
        QCOMPARE(staleBecause(engine), QString());
        QVERIFY(age(writeFile(dir->filePath("out/main.pdf")), 100));
        QCOMPARE(staleBecause(engine), std::nullopt);
        QVERIFY(age(chapter, 200));
        QCOMPARE(staleBecause(engine), chapter);
        // Without the option the PDF beside the root file counts, and it is newer.
        QCOMPARE(staleBecause("pdflatex %1"), std::nullopt);
    }
};

QTEST_MAIN(TestOpenBuild)
#include "test_open_build.moc"
