// The auto procedure: steps with opens between commands, the stop rule (error lines, a
// failed launch, a user stop, an empty step, the end of the list) and the looks.
#include "documenttest.h"
#include "process/taskwrapper.h"
#include "processcensus.h"

using namespace DocumentTest;

class TestDocumentSequencer : public DocumentTestCase {
    Q_OBJECT
    QStringList *opened = nullptr;

    QPushButton *startStop() { return control<QPushButton>(*document, "buttonStartStop"); }
    // Runs the procedure from the Start/Stop button and waits for its end.
    void runProcedure() {
        startStop()->click();
        QVERIFY(waitIdle(*document));
        QCOMPARE(startStop()->text(), Text::localized("Run"));
    }
    void runSteps(const QList<int> &steps) {
        setProcedure(steps);
        openDocument();
        runProcedure();
    }

private slots:
    void init() {
        setUp();
        opened = recordOpens();
        writeFile(dir->filePath("main.pdf"));
        writeFile(dir->filePath("main.log"));
        setCommand(0, "/bin/echo first %1");
        setCommand(1, "/bin/echo second %1");
    }

    void opensRunBetweenCommandsInListOrder() {
        runSteps({1, -1, -2, 2});
        QCOMPARE(logLines(*document), (QStringList{"Quireon> /bin/echo first main", "first main",
                                                   "Quireon> open main.pdf", "Quireon> open main.log",
                                                   "Quireon> /bin/echo second main", "second main"}));
        QCOMPARE(*opened, (QStringList{dir->filePath("main.pdf"), dir->filePath("main.log")}));
        QVERIFY(control<QPushButton>(*document, "buttonClearFiles")->isEnabled());
    }

    // A run keeps the procedure it started with: steps changed in the settings meanwhile
    // apply from the next run on, and its planning and its steps never disagree.
    void aRunKeepsItsProcedure() {
        const QString gate = dir->filePath("gate");
        setCommand(0, TestSupport::fixture("wait_for_file.sh") + " " + gate);
        setCommand(2, "/bin/echo third %1");
        setProcedure({1, 2});
        openDocument();
        startStop()->click();
        QTRY_VERIFY(logLines(*document).contains("Hint: before"));
        setProcedure({1, 3});
        writeFile(gate);
        QVERIFY(waitIdle(*document));
        QCOMPARE(logLines(*document).filter(QRegularExpression("^Quireon> /bin/echo")),
                 QStringList{"Quireon> /bin/echo second main"});
        runProcedure();
        QVERIFY(logLines(*document).contains("third main"));
    }

    void errorLinesEndTheProcedure_data() {
        TestSupport::columns<bool, int>({"checkErrors", "commandsRun"});
        QTest::newRow("errors counted") << true << 1;
        QTest::newRow("check errors off") << false << 2;
    }
    void errorLinesEndTheProcedure() {
        QFETCH(bool, checkErrors);
        gQuireonPrefs->setCheckErrors(checkErrors);
        const QString latexLike = TestSupport::fixture("latex_like.sh");
        setCommand(0, latexLike);
        runSteps({1, -1, 2});
        QTEST(int(logLines(*document).filter(QRegularExpression("^Quireon> /")).size()), "commandsRun");
        QCOMPARE(opened->size(), checkErrors ? 0 : 1);
        QCOMPARE(status(), checkErrors ? Text::format("ErrorStatus", {latexLike})
                                       : Text::format("DoneStatus", {"/bin/echo second main"}));
    }

    void failedOpenIsReportedAndTheProcedureGoesOn() {
        DesktopOpener::setOpener([](const QString &) { return false; });
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSteps({-1, 2});
        QCOMPARE(logLines(*document).mid(0, 3), (QStringList{"Quireon> open main.pdf",
                                                             Text::localized("OpenButtonErrorLog").chopped(1),
                                                             "Quireon> /bin/echo second main"}));
        // The failure line is an error line: the command after it ends with the error status.
        QCOMPARE(status(), Text::format("ErrorStatus", {"/bin/echo second main"}));
    }

    void emptyFirstStepRunsNothing() {
        setProcedure({0, 1});
        openDocument();
        QVERIFY(runCommand(*document, 1));
        const QString statusBefore = status();
        runProcedure();
        QVERIFY(logLines(*document).isEmpty()); // cleared, and nothing ran
        QCOMPARE(status(), statusBefore);
    }

    void commandInTheEighthEntryEndsTheList() {
        runSteps({-1, -1, -1, -1, -1, -1, -1, 1});
        QCOMPARE(opened->size(), 7);
        QCOMPARE(logLines(*document).mid(7), (QStringList{"Quireon> /bin/echo first main", "first main"}));
    }

    void stopEndsTheToolAndItsChildrenAtOnce() {
        setCommand(0, TestSupport::fixture("hangs_with_child.sh"));
        setProcedure({1, 2});
        openDocument();
        document->showWindow();
        QWidget *statusField = control<QWidget>(*document, "statusField");
        const QRect idleStatus = statusField->geometry();
        startStop()->click();
        QCOMPARE(startStop()->text(), Text::localized("Stop"));
        QTRY_VERIFY(logLines(*document).size() >= 2);
        QCOMPARE(statusField->geometry(), idleStatus); // the hidden progress bar kept its place
        const qint64 child = logLines(*document)[1].section(' ', 1).toLongLong();
        QVERIFY(child > 0 && ProcessCensus::running(child));
        QElapsedTimer clock;
        clock.start();
        startStop()->click();
        QVERIFY(clock.elapsed() < TaskWrapper::kTerminateGraceMs);
        QVERIFY(!document->isRunning());
        QCOMPARE(startStop()->text(), Text::localized("Run"));
        QVERIFY(status().startsWith(Text::format("ErrorStatus", {""})));
        QTRY_VERIFY(!ProcessCensus::running(child));
        QVERIFY(!logLines(*document).join('\n').contains("second"));

        // The next start clears the break.
        setCommand(0, "/bin/echo again");
        runProcedure();
        QCOMPARE(status(), Text::format("DoneStatus", {"/bin/echo second main"}));
    }
};

QTEST_MAIN(TestDocumentSequencer)
#include "test_document_sequencer.moc"
