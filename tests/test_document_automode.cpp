// Auto mode driven by real modification times: saves in place and by renaming a new
// file over the old one, two saves within one second, a save during a run, a root file
// that is gone for a moment while an editor saves, and one that stays gone; the chapter
// the last run read is followed too, and nothing starts while an alert is up.
#include "documenttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

using namespace DocumentTest;

namespace {
constexpr int kWithinOneCheckMs = 3500; // one check interval of 1 s, with room for a busy machine
// How long nothing may start to show that nothing will: two checks and a little more.
constexpr int kTwoChecksMs = 2300;

const auto saveInPlace = TestSupport::writeFile;

// As vim, emacs and VS Code do: a new file renamed over the old one.
bool saveByRename(const QString &path, const QByteArray &text) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}
} // namespace

class TestDocumentAutoMode : public DocumentTestCase {
    Q_OBJECT
    QString root;
    QString chapter;

    QCheckBox *autoModeBox() { return control<QCheckBox>(*document, "checkAutoMode"); }

private slots:
    void init() {
        setUp();
        gQuireonPrefs->setInterval(1);
        setCommand(0, TestSupport::fixture("count_run.sh") + " %1");
        setProcedure({1});
        // The log of an earlier run, as TeX writes it, names the chapter it read.
        chapter = dir->filePath("Chapter 2/chapter2.tex");
        QVERIFY(TestSupport::writeFile(chapter, "chapter"));
        writeFile(dir->filePath("main.aux"));
        writeFile(dir->filePath("main.log"), "(./main.tex (./Chapter 2/chapter2.tex) (./main.aux)\n");
        root = dir->filePath("main.tex");
        openDocument("main.tex", "first");
        QVERIFY(document->autoRunModeOn());
    }
    void cleanup() { document.reset(); }

    // A save of the root file or of a followed file while an alert runs its own event loop
    // waits for the alert to close.
    void noStartWhileAnAlertIsUp_data() {
        QTest::addColumn<QString>("saved");
        QTest::newRow("root file") << "main.tex";
        QTest::newRow("followed file") << "Chapter 2/chapter2.tex";
    }
    void noStartWhileAnAlertIsUp() {
        QFETCH(QString, saved);
        QVERIFY(saveInPlace(dir->filePath(saved), "saved while the alert is up"));
        int runsDuringAlert = -1;
        QTimer::singleShot(kTwoChecksMs, this, [&] {
            runsDuringAlert = runs();
            if (QWidget *alert = QApplication::activeModalWidget())
                alert->close();
        });
        Alerts::runAlert("An alert", "up for more than one check");
        QCOMPARE(runsDuringAlert, 0);
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
    }

    // Two saves within one second are two changes. (A new file with the very same time and
    // size is one too: test_faults changes a symbolic link root's target that way.)
    void changesWithinOneSecondAreSeen() {
        // Same second, same size, same file: only the nanoseconds differ.
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        QVERIFY(setModified(root, second, 100));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
        QVERIFY(waitIdle(*document));
        QVERIFY(setModified(root, second, 200));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 2, kWithinOneCheckMs);
    }

    void saveDuringARunStartsItAgainAfterwards() {
        setCommand(0, TestSupport::fixture("count_run.sh") + " %1 1.5");
        QVERIFY(saveInPlace(root, "second"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
        QVERIFY(document->isRunning());
        QVERIFY(saveByRename(root, "during the run"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 2, 2 * kWithinOneCheckMs);
    }

    void editsWhileAutoModeIsOffCountWhenItIsTurnedOn() {
        autoModeBox()->click();
        QVERIFY(!document->autoRunModeOn());
        QVERIFY(saveInPlace(root, "second"));
        checkNow();
        QCOMPARE(runs(), 0);
        autoModeBox()->click();
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
    }

    void noProcedureStartsWhileTheClearSheetIsUp() {
        QVERIFY(saveInPlace(root, "second"));
        document->clearFiles(); // no answer queued: the sheet stays up
        checkNow();
        QVERIFY(!document->isRunning());
        QWidget *sheet = QApplication::activeModalWidget();
        QVERIFY(sheet);
        QTest::keyClick(sheet, Qt::Key_Escape); // Escape means Cancel here
        QVERIFY(QFile::exists(root));
        QTRY_VERIFY(!sheet->isVisible());
        checkNow();
        QVERIFY(document->isRunning());
    }

    // Saves of the chapter the last run read start a run at once, not at the next check; files
    // the run writes or never read, and a deleted chapter, start nothing.
    void followedFilesAreHeardAtOnce() {
        gQuireonPrefs->setInterval(3600);
        document->reloadPrefs();
        QVERIFY(saveInPlace(chapter, "second"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, 1000);
        QCOMPARE(logLines(*document).value(0), MyDocument::promptPrefix + Text::format("FileChangedLog", {"Chapter 2/chapter2.tex"}));
        QVERIFY(waitIdle(*document));
        QVERIFY(saveByRename(chapter, "third"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 2, 1000);
        QVERIFY(waitIdle(*document));
        // Files the run writes, or that it never read, start nothing; nor does a deleted chapter.
        QVERIFY(saveInPlace(dir->filePath("main.aux"), "\\relax"));
        QVERIFY(saveInPlace(dir->filePath("notes.txt"), "notes"));
        QVERIFY(QFile::remove(chapter));
        QTest::qWait(1500);
        QCOMPARE(runs(), 2);
        QVERIFY(Alerts::shown().isEmpty());
        QVERIFY(saveByRename(root, "root"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 3, 1000);
    }

    // A chapter gone for longer than an editor's save (a branch switch, a folder renamed and
    // back) is followed again once it is back: its return starts a run, and so do later saves.
    void chapterBackAfterAWhileIsFollowedAgain_data() {
        QTest::addColumn<bool>("wholeFolder");
        QTest::newRow("file") << false;
        QTest::newRow("its folder") << true;
    }
    void chapterBackAfterAWhileIsFollowedAgain() {
        QFETCH(bool, wholeFolder);
        gQuireonPrefs->setInterval(3600);
        document->reloadPrefs();
        const QString gone = wholeFolder ? dir->filePath("Chapter 2") : chapter;
        QVERIFY(QFile::rename(gone, dir->filePath("elsewhere")));
        QTest::qWait(1200);
        QVERIFY(QFile::rename(dir->filePath("elsewhere"), gone));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, 1000);
        QVERIFY(waitIdle(*document));
        QVERIFY(saveInPlace(chapter, "later"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 2, 1000);
    }

    // The run that first reads a chapter learns of it only once it has ended; a save of that
    // chapter made while it ran still counts, and a chapter left alone starts nothing.
    void newInputSavedDuringTheRunThatFoundIt() {
        // Named as an engine, whose own writes its records name: what else changes while it
        // runs was saved by the user.
        const QString engine = dir->filePath("pdflatex");
        QVERIFY(QFile::link(TestSupport::fixture("reads_new_input.sh"), engine));
        const auto runFinding = [&](const QString &name, bool saveDuringRun) {
            setCommand(0, engine + " %1 " + name + " 1");
            const int before = runs();
            if (!saveInPlace(dir->filePath(name), "new") || !saveByRename(root, name.toUtf8())
                || !QTest::qWaitFor([&] { return runs() == before + 1; }, kWithinOneCheckMs)
                || (saveDuringRun && !saveByRename(dir->filePath(name), "saved during the run")))
                return -1;
            QTest::qWait(kTwoChecksMs);
            return waitIdle(*document) ? runs() - before : -1;
        };
        QCOMPARE(runFinding("appendix.tex", false), 1);
        QCOMPARE(runFinding("glossary.tex", true), 2);
    }

    void followingCanBeSwitchedOff() {
        gQuireonPrefs->setFollowInputs(false);
        document->reloadPrefs();
        QVERIFY(saveInPlace(chapter, "second"));
        QTest::qWait(kTwoChecksMs);
        QCOMPARE(runs(), 0);
        QVERIFY(saveInPlace(root, "second"));
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
    }

    void rootFileGoneForAMomentIsWaitedFor() {
        Alerts::setNextAnswer(Alerts::DefaultReturn); // an alert would fail the test, not hang it
        QVERIFY(QFile::remove(root));
        checkNow();
        QTimer::singleShot(MyDocument::kMissingRootRecheckMs * 2, this,
                           [this] { QVERIFY(saveInPlace(root, "written anew")); });
        QTRY_COMPARE_WITH_TIMEOUT(runs(), 1, kWithinOneCheckMs);
        QVERIFY(Alerts::shown().isEmpty());
        QVERIFY(document->autoRunModeOn());
    }

    // A root file that stays missing is reported once, even while the alert stays up over
    // several checks, and switches auto mode off with its recorded stamp left as it was.
    void missingRootFileSwitchesAutoModeOff() {
        QVERIFY(QFile::remove(root));
        const std::optional<FileStamp> recorded = document->lastModifiedStamp();
        // The real alert stays up for several check intervals; ticks must not pile up.
        QTimer::singleShot(2500, this, [] {
            if (QWidget *alert = QApplication::activeModalWidget())
                alert->close();
        });
        QTRY_VERIFY_WITH_TIMEOUT(!document->autoRunModeOn(), 6000);
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].message, Text::format("RootMissingMessage", {root}));
        QVERIFY(document->lastModifiedStamp() == recorded);
        QCOMPARE(runs(), 0);

        // Opened while missing, it is reported at once and nothing is recorded.
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        MyDocument missing;
        missing.setFileName(root);
        QCOMPARE(Alerts::shown().size(), 2);
        QVERIFY(!missing.autoRunModeOn() && !missing.lastModifiedStamp());
    }
};

QTEST_MAIN(TestDocumentAutoMode)
#include "test_document_automode.moc"
