// What a long session throws at a document: its folder removed or renamed in auto mode,
// a tool that cannot write its output, a megabyte without a newline, a tool killed by a
// signal, a root file on a 4,000-character path, and a root file that is a symbolic link
// whose target changes.
#include "documenttest.h"

#include <QCheckBox>
#include <QPlainTextEdit>

using namespace DocumentTest;

class TestFaults : public DocumentTestCase {
    Q_OBJECT

private slots:
    void init() { setUp(); }

    // The folder goes while the procedure's tool is still running in it: the run ends as
    // usual, the next check reports the missing root file once and switches auto mode
    // off, and a later run reports that its command cannot start.
    void rootFolderRemovedOrRenamedDuringAutoMode_data() {
        QTest::addColumn<bool>("rename");
        QTest::newRow("removed") << false;
        QTest::newRow("renamed") << true;
    }
    void rootFolderRemovedOrRenamedDuringAutoMode() {
        QFETCH(bool, rename);
        const QString folder = dir->filePath("paper");
        QVERIFY(QDir().mkpath(folder));
        setCommand(0, TestSupport::fixture("count_run.sh %1 0.4"));
        setProcedure({1});
        openDocument("paper/main.tex");
        QVERIFY(setModified(document->rootFilePath(), 1000));
        checkNow();
        QVERIFY(document->isRunning());
        if (rename)
            QVERIFY(QDir().rename(folder, dir->filePath("moved")));
        else // the tool may be writing into it meanwhile
            QTRY_VERIFY(QDir(folder).removeRecursively());
        QVERIFY(waitIdle(*document));
        QCOMPARE(status(), Text::format("DoneStatus", {TestSupport::fixture("count_run.sh") + " main 0.4"}));

        Alerts::setNextAnswer(Alerts::DefaultReturn);
        checkNow();
        QTRY_COMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].header, Text::localized("RootMissingHeader"));
        QVERIFY(!document->autoRunModeOn() && !control<QCheckBox>(*document, "checkAutoMode")->isChecked());
        for (int i = 0; i < 3; ++i)
            checkNow();
        QTest::qWait(4 * MyDocument::kMissingRootRecheckMs);
        QCOMPARE(Alerts::shown().size(), 1);

        document->startStopSequence(); // by hand: the command cannot start in a lost folder
        QVERIFY(waitIdle(*document));
        QCOMPARE(logLines(*document).value(1),
                 Text::format("LaunchError", {TestSupport::fixture("count_run.sh")}).trimmed());
    }

    // A tool that cannot write its output says so in its log, and the run is judged by that;
    // a tool killed by a signal fails however clean its log, and the log says how it ended.
    void aToolThatCannotWriteOrIsKilledFails_data() {
        // errors: the count of error lines, which a signal's ending line is not.
        TestSupport::columns<QString, QString, QString, QString, bool>({"tool", "output", "lastLine", "errors", "fails"});
        const QString writing = QStringLiteral("This is a writing run");
        QTest::newRow("full disk") << "writes_output.sh /dev/full" << writing << "^! I can't write" << "1" << true;
        // Permissions do not stop a test that runs as root; a file in the folder's place does.
        QTest::newRow("unwritable folder") << "writes_output.sh blocked/main.pdf" << writing << "^! I can't write" << "1" << true;
        QTest::newRow("writable") << "writes_output.sh main.pdf" << writing << "^Output written on main.pdf" << "0" << false;
        QTest::newRow("killed") << "killed_by_signal.sh working" << "working" << "^Quireon> .* 9 " << "0" << true;
    }
    void aToolThatCannotWriteOrIsKilledFails() {
        QFETCH(QString, tool);
        QFETCH(QString, lastLine);
        QFETCH(bool, fails);
        writeFile(dir->filePath("blocked"), "not a folder");
        const QString command = TestSupport::fixture(tool);
        setCommand(0, command);
        openDocument();
        QVERIFY(runCommand(*document, 0));
        QTEST(fieldText(*document, "textNumErrors"), "errors");
        QCOMPARE(status(), Text::format(fails ? "ErrorStatus" : "DoneStatus", {command}));
        const QStringList lines = logLines(*document);
        QVERIFY2(lines.size() == 3 && lines.last().contains(QRegularExpression(lastLine)), qPrintable(lines.join('\n')));
        QTEST(lines.at(1), "output");
    }

    // A megabyte without a newline is shown when the run ends, neither stalls the log nor
    // lingers into the next command; once its newline comes, the whole line is shown.
    void aMegabyteWithoutNewline() {
        setCommand(0, TestSupport::fixture("long_partial_line.sh none"));
        setCommand(1, TestSupport::fixture("long_partial_line.sh end"));
        setCommand(2, TestSupport::fixture("quick_run.sh %1"));
        openDocument();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(runCommand(*document, 0));
        QCOMPARE(logLines(*document).value(1), QString(1048576, QLatin1Char('x')));

        QVERIFY(runCommand(*document, 2));
        QVERIFY(!logView(*document)->toPlainText().contains(QStringLiteral("xxxx")));

        QVERIFY(runCommand(*document, 1));
        QCOMPARE(logLines(*document).mid(1),
                 QStringList({QString(1048576, QLatin1Char('x')), "after the long line"}));
        QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    }

    // Path limits are 4,096 bytes; each folder name stays under 255.
    void aRootFileOnAFourThousandCharacterPath() {
        QString folder = dir->path();
        const QString name = QStringLiteral("/main.tex");
        while (folder.size() + name.size() < 4000)
            folder += QLatin1Char('/') + QString(std::min<qsizetype>(200, 3999 - folder.size() - name.size()), u'd');
        QVERIFY(QDir().mkpath(folder));
        setCommand(0, TestSupport::fixture("count_run.sh %1"));
        setProcedure({1});
        const QString root = openDocument(QDir(dir->path()).relativeFilePath(folder + name)).rootFilePath();
        QCOMPARE(root.size(), 4000);
        QVERIFY(setModified(root, 2000));
        checkNow(); // auto mode sees the change
        QVERIFY(waitIdle(*document));
        // The tool ran in the root's folder.
        QVERIFY(QFile::exists(folder + "/main.runs") && Alerts::shown().isEmpty());
    }

    // The root file is a symbolic link: saving its target is a change, and so is pointing
    // the link at another file, even one with the very same modification time.
    void aSymbolicLinkRootWhoseTargetChanges() {
        setCommand(0, TestSupport::fixture("count_run.sh %1"));
        setProcedure({1});
        const QString first = writeFile(dir->filePath("first.tex"), "one");
        const QString second = writeFile(dir->filePath("second.tex"), "one");
        QVERIFY(setModified(first, 3000) && setModified(second, 3000));
        const QString root = dir->filePath("main.tex");
        QVERIFY(QFile::link(first, root));
        document = std::make_unique<MyDocument>();
        document->setFileName(root);
        const auto check = [&](int expectedRuns) {
            checkNow();
            QVERIFY(waitIdle(*document));
            QCOMPARE(runs(), expectedRuns);
        };
        check(0);
        QVERIFY(setModified(first, 3001));
        check(1);
        QVERIFY(QFile::remove(root) && QFile::link(second, root) && setModified(second, 3001));
        check(2);
        check(2);
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
