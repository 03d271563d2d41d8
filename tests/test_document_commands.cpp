// Running commands: argument lists, the prompt line, launch failures, page counting,
// unfinished output, the status line, and settings changes during a run.
#include "documenttest.h"

using namespace DocumentTest;

class TestDocumentCommands : public DocumentTestCase {
    Q_OBJECT
    // Lines of the log after the prompt line.
    QStringList output() { return logLines(*document).mid(1); }

private slots:
    void init() { setUp(); }

    // Arguments, hostile root names among them, reach the program as they are, with no
    // shell; the prompt line shows them as a shell would take them back.
    void argumentsReachTheProgram_data() {
        TestSupport::columns<QString, QString, QString>({"rootName", "argument", "shown"});
        QTest::newRow("shell syntax") << "a; touch pwned $(id) `x` *.tex" << "a; touch pwned $(id) `x` *"
                                      << "'a; touch pwned $(id) `x` *'";
        QTest::newRow("non-ASCII") << "Thèse ü→.tex" << "Thèse ü→" << "'Thèse ü→'";
        QTest::newRow("an option's name") << "-shell-escape.tex" << "./-shell-escape" << "./-shell-escape";
    }
    void argumentsReachTheProgram() {
        QFETCH(QString, rootName);
        QFETCH(QString, argument);
        QFETCH(QString, shown);
        const QString program = TestSupport::fixture("print_args.sh");
        openDocument(rootName);
        setCommand(0, program + " %1");
        QVERIFY(runCommand(*document, 0));
        QCOMPARE(logLines(*document), QStringList({"Quireon> " + program + ' ' + shown,
                                                   "cwd=" + QDir(dir->path()).canonicalPath(),
                                                   "argc=1", '[' + argument + ']'}));
        QCOMPARE(lineFormat(*document, 0).fontWeight(), int(QFont::Bold));
        QCOMPARE(status(), Text::format("DoneStatus", {program + ' ' + argument}));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{rootName});
    }

    void pagesAreCountedByThePageString_data() {
        TestSupport::columns<bool, QString, QString>({"checkPages", "pageString", "pages"});
        QTest::newRow("prefix and suffix") << true << "(%n page" << "12";
        QTest::newRow("no %n") << true << "pages" << "0";
        QTest::newRow("page counting off") << false << "(%n page" << "0";
    }
    void pagesAreCountedByThePageString() {
        QFETCH(bool, checkPages);
        QFETCH(QString, pageString);
        gQuireonPrefs->setCheckPages(checkPages);
        setCommand(0, "/bin/cat %1.out", pageString); // taken when the document gets its file
        openDocument("main.tex");
        writeFile(dir->filePath("main.out"), "Output written on main.dvi (7 pages, 10 bytes).\n"
                                             "Output written on main.dvi (12 pages, 80 bytes).\n"
                                             "written: 5\n"
                                             "Output written on main.dvi (0 pages, 9 bytes).\n");
        QVERIFY(runCommand(*document, 0));
        QTEST(fieldText(*document, "textNumPages"), "pages");
    }

    // Step 1 of a two-step procedure; the way it ends decides whether step 2 runs.
    void theToolsEndingJudgesTheRun_data() {
        // lastLine: a pattern for the log's last line
        TestSupport::columns<QString, bool, QString, QString>({"line", "checkErrors", "errors", "lastLine"});
        QTest::newRow("exit status") << TestSupport::fixture("no_final_newline.sh") << true << "0" << "^Quireon> .*\\b7\\b";
        QTest::newRow("launch failure") << "/nonexistent/tool %1" << true << "1" << "^Quireon Error:";
        QTest::newRow("launch failure, errors unchecked") << "/nonexistent/tool" << false << "0" << "^Quireon Error:";
        QTest::newRow("error without newline, exit 0") << "/bin/cat stop.log" << true << "1" << "^! Emergency stop\\.$";
        QTest::newRow("warnings, exit 0") << "/bin/cat warn.log" << true << "0" << "^second$";
    }
    void theToolsEndingJudgesTheRun() {
        QFETCH(QString, line);
        QFETCH(QString, lastLine);
        QFETCH(bool, checkErrors);
        gQuireonPrefs->setCheckErrors(checkErrors);
        openDocument("main.tex");
        writeFile(dir->filePath("stop.log"), "! Emergency stop.");
        writeFile(dir->filePath("warn.log"), "LaTeX Warning: x\n");
        setCommand(0, line);
        setCommand(1, "/bin/echo second");
        setProcedure({1, 2});
        document->startAutoProcedure();
        QVERIFY(waitIdle(*document));
        QTEST(fieldText(*document, "textNumErrors"), "errors");
        const QStringList lines = logLines(*document);
        QVERIFY2(lines.last().contains(QRegularExpression(lastLine)), qPrintable(lines.last()));
        const QString command = lines.first().mid(MyDocument::promptPrefix.size());
        QCOMPARE(status(), lastLine == "^second$" ? Text::format("DoneStatus", {"/bin/echo second"})
                                                  : Text::format("ErrorStatus", {command}));
    }

    void statusFollowsTheRun() {
        openDocument("main.tex");
        const QString sleeper = TestSupport::fixture("answers_stop.sh");
        setCommand(0, sleeper);
        QVERIFY(document->execCommandOfIndex(0));
        QTRY_COMPARE(output(), QStringList{"started"});
        QCOMPARE(status(), Text::format("ExecutingStatus", {sleeper}));
        QPushButton *button = control<QPushButton>(*document, "buttonExe1");
        QVERIFY(document->isRunning() && !button->isEnabled());
        document->startStopSequence(); // the user's stop
        QCOMPARE(status(), Text::format("ErrorStatus", {sleeper}));
        QCOMPARE(output().last(), QStringLiteral("stopping")); // its answer to the stop
        QVERIFY(!document->isRunning() && button->isEnabled());
    }

    void newPrefixListsApplyToLaterLines() {
        openDocument("main.tex");
        const QString gate = dir->filePath("gate");
        setCommand(0, TestSupport::fixture("wait_for_file.sh") + " " + gate);
        QVERIFY(document->execCommandOfIndex(0));
        QTRY_COMPARE(output(), QStringList{"Hint: before"});
        gQuireonPrefs->setWarningStrArray({"Hint:"});
        NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        writeFile(gate);
        QTRY_VERIFY(!document->isRunning());
        QCOMPARE(output(), (QStringList{"Hint: before", "Hint: after"}));
        QCOMPARE(fieldText(*document, "textNumWarnings"), QStringLiteral("1"));
        QCOMPARE(lineFormat(*document, 2).foreground().color(), gQuireonPrefs->warningColor());
        QCOMPARE(lineFormat(*document, 1).foreground().color(), QColor(Qt::black));
    }
};

QTEST_MAIN(TestDocumentCommands)
#include "test_document_commands.moc"
