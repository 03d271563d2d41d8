// The build on opening: a document opened in auto mode whose PDF is missing, or older than
// its root file or a file its last run read (as the engine's log or recorder file names
// it), runs the auto procedure once; one whose PDF is current, or opened with auto mode
// off, runs nothing. Command 1 counts its runs in main.runs.
#include "documenttest.h"
#include "follow/outputcurrency.h"

#include <QCheckBox>
#include <QDateTime>
#include <QMessageBox>
#include <QPointer>

using namespace DocumentTest;

namespace {
const QString kChapter = QStringLiteral("Chapter 2/chapter2.tex");
const QString kEngine = QStringLiteral("pdflatex %1");

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
    // The check that opening leaves for the event loop has had its turn.
    void letOpeningCheck() { QCoreApplication::processEvents(); }
    // One look of auto mode's periodic check, which must find nothing more to do.
    void verifyCheckStartsNothing() {
        QVERIFY(QMetaObject::invokeMethod(document.get(), "timerProc"));
        QVERIFY(!document->isRunning());
    }
    // Opens main.tex; nothing starts before the event loop has had its turn.
    void open() {
        openDocument("main.tex", "\\input{Chapter 2/chapter2}");
        QVERIFY(!document->isRunning());
        letOpeningCheck();
    }
    void verifyBuiltOnce() {
        QVERIFY(document->isRunning());
        QVERIFY(waitIdle(*document));
        QCOMPARE(runs(), 1);
        QVERIFY(logLines(*document).contains("counted run of main"));
        verifyCheckStartsNothing();
        QCOMPARE(runs(), 1);
    }
    void verifyNotBuilt() {
        QVERIFY(!document->isRunning());
        verifyCheckStartsNothing();
        QCOMPARE(runs(), 0);
    }

private slots:
    void init() {
        setUp();
        MyDocument::setBuildWhenOpened(true);
        setCommand(0, TestSupport::fixture("count_run.sh") + " %1");
        setProcedure({1});
        chapter = dir->filePath(kChapter);
        QVERIFY(TestSupport::writeFile(chapter, "chapter"));
        QVERIFY(age(chapter, -100));
        writeFile(dir->filePath("main.aux"));
        writeFile(dir->filePath("main.log"), "(./main.tex (./Chapter 2/chapter2.tex) (./main.aux)\n");
    }
    void cleanup() { document.reset(); }
    void cleanupTestCase() { MyDocument::setBuildWhenOpened(false); }

    void withoutPdfBuildsOnce() {
        open();
        verifyBuiltOnce();
        // The run wrote no PDF, which makes no second build: the opening's is over.
        QVERIFY(!QFile::exists(dir->filePath("main.pdf")));
    }

    void currentPdfIsLeftAlone() {
        QVERIFY(age(writeFile(dir->filePath("main.pdf")), 100));
        open();
        verifyNotBuilt();
    }

    // The chapter is named by the log, or by the recorder file that then wins over it.
    void newerChapterBuildsOnce_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("log") << "main.log" << QByteArray("(./main.tex (./Chapter 2/chapter2.tex))\n");
        QTest::newRow("recorder") << "main.fls"
                                  << QByteArray("PWD %1\nINPUT main.tex\nINPUT ./Chapter 2/chapter2.tex\n");
    }
    void newerChapterBuildsOnce() {
        QFETCH(QString, record);
        QFETCH(QByteArray, text);
        if (record != "main.log")
            QFile::remove(dir->filePath("main.log"));
        writeFile(dir->filePath(record), QByteArray(text).replace("%1", QFile::encodeName(dir->path())));
        QVERIFY(age(writeFile(dir->filePath("main.pdf")), 100));
        QVERIFY(age(chapter, 200));
        open();
        // The log says why a run starts although nothing was saved.
        QCOMPARE(logLines(*document).value(0), MyDocument::promptPrefix + Text::format("FileChangedLog", {kChapter}));
        verifyBuiltOnce();
    }

    void rootNewerThanPdfBuildsOnce() {
        QVERIFY(age(writeFile(dir->filePath("main.pdf")), -50));
        open();
        QCOMPARE(logLines(*document).value(0), MyDocument::promptPrefix + Text::format("FileChangedLog", {"main.tex"}));
        verifyBuiltOnce();
    }

    void autoModeOffBuildsNothing_data() {
        QTest::addColumn<bool>("beforeOpening");
        QTest::newRow("off before the root file is set") << true;
        QTest::newRow("switched off at once after") << false;
    }
    void autoModeOffBuildsNothing() {
        QFETCH(bool, beforeOpening);
        const QString root = writeFile(dir->filePath("main.tex"));
        document = std::make_unique<MyDocument>();
        auto *autoMode = control<QCheckBox>(*document, "checkAutoMode");
        if (beforeOpening)
            autoMode->click();
        document->setFileName(root);
        if (!beforeOpening)
            autoMode->click();
        QVERIFY(!document->autoRunModeOn());
        letOpeningCheck();
        verifyNotBuilt();
        // Switched on again, auto mode answers saves only.
        autoMode->click();
        verifyNotBuilt();
    }

    // A sheet up as the document opens holds the build back; auto mode's next check after
    // the sheet closed starts it.
    void sheetUpDefersTheBuild() {
        openDocument("main.tex");
        int answer = -1;
        Alerts::beginSheet(document->myWindow(), "A sheet", "up as the document opens", "OK", "Cancel",
                           [&answer](int code) { answer = code; });
        letOpeningCheck();
        QVERIFY(!document->isRunning());
        const QPointer<QMessageBox> sheet = document->myWindow()->findChild<QMessageBox *>();
        QVERIFY(sheet && sheet->isVisible());
        const QList<QAbstractButton *> buttons = sheet->buttons();
        const auto cancel = std::find_if(buttons.begin(), buttons.end(),
                                         [](const QAbstractButton *b) { return b->text() == "Cancel"; });
        QVERIFY(cancel != buttons.end());
        (*cancel)->click();
        QCOMPARE(answer, Alerts::AlternateReturn);
        QVERIFY(!sheet || !sheet->isVisible());
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
        QCOMPARE(runs(), 1);
        delete other.findChild<QMessageBox *>();
        verifyCheckStartsNothing();
        QCOMPARE(runs(), 1);
    }

    // What makes a PDF current, from modification times to the nanosecond.
    void staleBecause_data() {
        TestSupport::columns<qint64, qint64, bool, QString>({"pdfNs", "readNs", "rootGone", "stale"});
        // Nanoseconds after a whole second; the root file is at 1000, a file the last run
        // read at readNs (-1: gone since); -1 for the PDF: none.
        constexpr qint64 kSecond = 1'000'000'000;
        QTest::newRow("pdf newer than all") << qint64(2000) << qint64(1500) << false << "-";
        QTest::newRow("pdf as new as the root") << qint64(1000) << qint64(500) << false << "-";
        QTest::newRow("root newer by a nanosecond") << qint64(999) << qint64(500) << false << "main.tex";
        QTest::newRow("read file newer") << qint64(2000) << qint64(2001) << false << "read.tex";
        QTest::newRow("read file a second on") << qint64(2000) << kSecond << false << "read.tex";
        QTest::newRow("pdf a second on") << kSecond << qint64(2001) << false << "-";
        QTest::newRow("read file as new") << qint64(2000) << qint64(2000) << false << "-";
        QTest::newRow("read file gone") << qint64(2000) << qint64(-1) << false << "-";
        QTest::newRow("root gone") << qint64(2000) << qint64(500) << true << "main.tex";
        QTest::newRow("no pdf") << qint64(-1) << qint64(500) << false << "";
    }
    void staleBecause() {
        QFETCH(qint64, pdfNs);
        QFETCH(qint64, readNs);
        QFETCH(bool, rootGone);
        QFETCH(QString, stale);
        const auto stamp = [](const QString &path, qint64 ns) {
            constexpr qint64 kSecond = 1'000'000'000;
            return ns < 0 || (writeFile(path), setModified(path, 1'000'000 + ns / kSecond, long(ns % kSecond)));
        };
        QTemporaryDir folder;
        const QString root = folder.filePath("main.tex");
        const QString read = folder.filePath("read.tex");
        const QString pdf = folder.filePath("main.pdf");
        QVERIFY(stamp(root, 1000) && stamp(read, readNs) && stamp(pdf, pdfNs));
        if (rootGone)
            QVERIFY(QFile::remove(root));
        const std::optional<QString> found = OutputCurrency::staleBecause(pdf, root, {read});
        QCOMPARE(found ? (found->isEmpty() ? QString("") : QFileInfo(*found).fileName()) : QString("-"), stale);
    }

    // With -output-directory the PDF and the engine's own records are in that folder; a PDF
    // left beside the root file does not count.
    void pdfInTheOutputFolder() {
        const QString root = writeFile(dir->filePath("main.tex"));
        const QString engine = "pdflatex -output-directory=out %1";
        QVERIFY(TestSupport::writeFile(dir->filePath("out/main.log"), "(./main.tex (./Chapter 2/chapter2.tex))\n"));
        QVERIFY(age(writeFile(dir->filePath("main.pdf")), 300));
        QCOMPARE(OutputCurrency::pdfStaleBecause(root, engine, {}, QDir::homePath()), QString());
        QVERIFY(TestSupport::writeFile(dir->filePath("out/main.pdf"), "%PDF"));
        QVERIFY(age(dir->filePath("out/main.pdf"), 100));
        QCOMPARE(OutputCurrency::pdfStaleBecause(root, engine, {}, QDir::homePath()), std::nullopt);
        QVERIFY(age(chapter, 200));
        QCOMPARE(OutputCurrency::pdfStaleBecause(root, engine, {}, QDir::homePath()), chapter);
        // Without the option the PDF beside the root file counts, and it is newer.
        QCOMPARE(OutputCurrency::pdfStaleBecause(root, kEngine, {}, QDir::homePath()), std::nullopt);
    }
};

QTEST_MAIN(TestOpenBuild)
#include "test_open_build.moc"
