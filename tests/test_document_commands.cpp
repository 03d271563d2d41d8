// Running commands: argument lists, the prompt line, launch failures, page counting,
// unfinished output, the status line, and settings changes during a run.
#include "document/mydocument.h"
#include "documenttest.h"
#include "platform/core/notificationcenter.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "testsupport.h"
#include "window/mywindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace DocumentTest;

class TestDocumentCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MyDocument> document;

    void openDocument(const QString &name) {
        document = std::make_unique<MyDocument>();
        document->setFileName(writeFile(dir->filePath(name)));
    }
    // Lines of the log after the prompt line.
    QStringList output() { return logLines(*document).mid(1); }
    QString status() { return fieldText(*document, "statusField"); }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() {
        prefs = freshPrefs();
        dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() { document.reset(); }

    void argumentsReachTheProgram_data() {
        QTest::addColumn<QString>("rootName");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("twice") << "main.tex"
                               << "/bin/echo %1 %1"
                               << "Quireon> /bin/echo main main" << QStringList{"main main"};
        QTest::newRow("two spaces") << "main.tex"
                                    << "/bin/echo  %1"
                                    << "Quireon> /bin/echo  main" << QStringList{" main"};
        const QString printArgs = TestSupport::fixture("print_args.sh");
        QTest::newRow("name with spaces")
            << "my thesis.tex" << printArgs + " %1"
            << "Quireon> " + printArgs + " my thesis" << QStringList{"argc=1", "[my thesis]"};
        QTest::newRow("empty argument") << "main.tex" << printArgs + " -x  %1"
                                        << "Quireon> " + printArgs + " -x  main"
                                        << QStringList{"argc=3", "[-x]", "[]", "[main]"};
    }
    void argumentsReachTheProgram() {
        QFETCH(QString, rootName);
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        openDocument(rootName);
        setCommand(0, line);
        QVERIFY(runCommand(*document, 0));
        QStringList lines = logLines(*document);
        QTEST(lines.takeFirst(), "prompt");
        if (lines.first().startsWith(QLatin1String("cwd="))) // print_args also shows its folder
            QCOMPARE(lines.takeFirst(), "cwd=" + QFileInfo(dir->path()).canonicalFilePath());
        QCOMPARE(lines, expected);
        QCOMPARE(lineFormat(*document, 0).fontWeight(), int(QFont::Bold));
        QCOMPARE(status(),
                 Text::format("DoneStatus",
                              {line.replace("%1", QFileInfo(rootName).completeBaseName())}));
    }

    void hostileRootNamesRunNoShell_data() {
        QTest::addColumn<QString>("rootName");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("shell syntax")
            << "a; touch pwned $(id) 'q\".tex"
            << QStringList{"argc=1", "[a; touch pwned $(id) 'q\"]"};
        QTest::newRow("non-ASCII")
            << QString::fromUtf8("Thèse ü→.tex")
            << QStringList{"argc=1", QString::fromUtf8("[Thèse ü→]")};
        QTest::newRow("backquotes and globs")
            << "`rm -rf x` *.tex" << QStringList{"argc=1", "[`rm -rf x` *]"};
        QTest::newRow("an option's name")
            << "-shell-escape.tex" << QStringList{"argc=1", "[./-shell-escape]"};
    }
    void hostileRootNamesRunNoShell() {
        QFETCH(QString, rootName);
        openDocument(rootName);
        setCommand(0, TestSupport::fixture("print_args.sh") + " %1");
        QVERIFY(runCommand(*document, 0));
        QTEST(output().mid(1), "expected");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{rootName});
    }

    void launchFailureIsLoggedAndJudged_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("launchPath");
        QTest::newRow("empty command line") << ""
                                            << "";
        QTest::newRow("no such program") << "/nonexistent/tool %1"
                                         << "/nonexistent/tool";
        QTest::newRow("a folder") << "/tmp %1"
                                  << "/tmp";
    }
    void launchFailureIsLoggedAndJudged() {
        QFETCH(QString, line);
        QFETCH(QString, launchPath);
        openDocument("main.tex");
        setCommand(0, line);
        QVERIFY(!document->execCommandOfIndex(0));
        QVERIFY(!document->isRunning());
        const QString commandText = QString(line).replace("%1", "main");
        const QString expected = Text::format("LaunchError", {launchPath});
        QCOMPARE(logLines(*document),
                 (QStringList{"Quireon> " + commandText, expected.chopped(1)}));
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("1"));
        QCOMPARE(status(), Text::format("ErrorStatus", {commandText}));
        auto *startStop = document->myWindow()->findChild<QPushButton *>("buttonStartStop");
        QCOMPARE(startStop->text(), Text::localized("Run"));
    }

    void pagesAreCountedByThePageString_data() {
        QTest::addColumn<bool>("checkPages");
        QTest::addColumn<QString>("pageString");
        QTest::addColumn<QString>("pages");
        QTest::newRow("prefix and suffix") << true << "(%n page"
                                           << "12";
        QTest::newRow("suffix only") << true << "%n pages"
                                     << "12";
        QTest::newRow("last number") << true << "%n"
                                     << "9";
        QTest::newRow("prefix only, space") << true << "written:%n"
                                            << "0";
        QTest::newRow("no %n") << true << "pages"
                               << "0";
        QTest::newRow("empty") << true << ""
                               << "0";
        QTest::newRow("page counting off") << false << "(%n page"
                                           << "0";
    }
    void pagesAreCountedByThePageString() {
        QFETCH(bool, checkPages);
        QFETCH(QString, pageString);
        gQuireonPrefs->setCheckPages(checkPages);
        // The document takes the page strings when it receives its file.
        setCommand(0, "/bin/cat %1.out", pageString);
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
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("checkErrors");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QString>("lastLine"); // a pattern; none: the run is done
        QTest::newRow("exit status") << TestSupport::fixture("no_final_newline.sh") << true << "0"
                                     << "^Quireon> .*\\b7\\b";
        QTest::newRow("launch failure, errors unchecked")
            << "/nonexistent/tool" << false << "0" << "^Quireon Error:";
        QTest::newRow("error without newline, exit 0")
            << "/bin/cat stop.log" << true << "1" << "^! Emergency stop\\.$";
        QTest::newRow("warnings, exit 0") << "/bin/cat warn.log" << true << "0" << "";
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
        if (lastLine.isEmpty()) {
            QCOMPARE(lines.last(), QStringLiteral("second"));
            return;
        }
        QVERIFY2(QRegularExpression(lastLine).match(lines.last()).hasMatch(), qPrintable(lines.last()));
        const QString command = lines.first().mid(MyDocument::promptPrefix.size());
        QCOMPARE(status(), Text::format("ErrorStatus", {command}));
    }

    void statusFollowsTheRun() {
        openDocument("main.tex");
        writeFile(dir->filePath("main.log"), "! Emergency stop.\n");
        const QString sleeper = TestSupport::fixture("answers_stop.sh");
        setCommand(0, sleeper);
        setCommand(1, "/bin/cat main.log");
        QVERIFY(document->execCommandOfIndex(0));
        QTRY_COMPARE(output(), QStringList{"started"});
        QCOMPARE(status(), Text::format("ExecutingStatus", {sleeper}));
        QVERIFY(document->isRunning());
        QVERIFY(!document->myWindow()->findChild<QPushButton *>("buttonExe1")->isEnabled());
        document->startStopSequence(); // the user's stop
        QCOMPARE(status(), Text::format("ErrorStatus", {sleeper}));
        QCOMPARE(output().last(), QStringLiteral("stopping")); // its answer to the stop
        QVERIFY(!document->isRunning());

        QVERIFY(runCommand(*document, 1));
        QCOMPARE(status(), Text::format("ErrorStatus", {"/bin/cat main.log"}));
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("1"));
        QVERIFY(document->myWindow()->findChild<QPushButton *>("buttonExe1")->isEnabled());
    }

    void latexLikeRunIsCountedAndColoured() {
        openDocument("paper.tex");
        setCommand(0, TestSupport::fixture("latex_like.sh"), "(%n page");
        QVERIFY(runCommand(*document, 0));
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("1"));
        QCOMPARE(fieldText(*document, "textNumWarnings"), QStringLiteral("1"));
        QCOMPARE(fieldText(*document, "textNumNotes"), QStringLiteral("1"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("3"));
        const int error = logLines(*document).indexOf("! Undefined control sequence.");
        QCOMPARE(lineFormat(*document, error).foreground().color(), gQuireonPrefs->errorColor());
        QCOMPARE(lineFormat(*document, error + 1).foreground().color(), QColor(Qt::black));
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
