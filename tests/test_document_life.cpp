// A document's life: paths from the root file, settings reloads and the check timer,
// auto mode's switch, buttons, and closing while idle or running.
#include "documenttest.h"

using namespace DocumentTest;

class TestDocumentLife : public DocumentTestCase {
    Q_OBJECT

    QPushButton *button(const char *name) { return control<QPushButton>(*document, name); }
    QList<QTimer *> activeTimers() {
        QList<QTimer *> active;
        for (QTimer *timer : document->findChildren<QTimer *>())
            if (timer->isActive())
                active << timer;
        return active;
    }

private slots:
    void init() { setUp(); }

    void pathsFromTheRootFile_data() {
        // expected: the base path, the base name and the working folder
        TestSupport::columns<QString, QStringList>({"path", "expected"});
        QTest::newRow("ordinary") << "/home/a/thesis/main.tex" << QStringList{"/home/a/thesis/main", "main", "/home/a/thesis"};
        QTest::newRow("only the last extension") << "/x/a.b.tex" << QStringList{"/x/a.b", "a.b", "/x"};
        QTest::newRow("file system root") << "/main.tex" << QStringList{"/main", "main", "/"};
        QTest::newRow("dot in a folder name") << "/x.y/noext" << QStringList{"/x.y/noext", "noext", "/x.y"};
    }
    void pathsFromTheRootFile() {
        QFETCH(QString, path);
        Alerts::setNextAnswer(Alerts::DefaultReturn); // no such root file: its alert is answered
        document = std::make_unique<MyDocument>();
        document->setFileName(path);
        QCOMPARE(document->rootFilePath(), path);
        QTEST(QStringList({document->basePath(), document->basename(), document->workingDir()}),
              "expected");
    }

    void settingsChangesReplaceTheCheckTimer() {
        document = std::make_unique<MyDocument>(); // no file yet: no timer
        QVERIFY(activeTimers().isEmpty());
        openDocument("paper.tex");
        QCOMPARE(activeTimers().size(), 1);
        gQuireonPrefs->setInterval(5);
        for (int i = 0; i < 2; ++i)
            NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        const QList<QTimer *> timers = activeTimers();
        QCOMPARE(timers.size(), 1);
        QVERIFY(timers.first()->interval() == 5000 && !timers.first()->isSingleShot());
    }

    void buttonsFollowTheirFiles() {
        openDocument("paper.tex");
        QVERIFY(button("buttonExe1")->isEnabled());   // the root file itself
        QVERIFY(!button("buttonExe2")->isEnabled());  // paper.aux is missing
        QVERIFY(!button("buttonFile1")->isEnabled()); // paper.pdf is missing
        QCOMPARE(button("buttonFile1")->toolTip(), Text::format("openToolTip", {"paper.pdf"}));
        QVERIFY(button("buttonExe1")->toolTip().contains(QStringLiteral("max_print_line=10000 paper")));
        QVERIFY(button("buttonClearFiles")->isEnabled());

        writeFile(dir->filePath("paper.aux"));
        writeFile(dir->filePath("paper.pdf"));
        QVERIFY(!button("buttonExe2")->isEnabled()); // only a refresh looks again
        document->enableButtons(true);
        QVERIFY(button("buttonExe2")->isEnabled() && button("buttonFile1")->isEnabled());
    }

    // The first close stops the procedure (its second step never runs); the next one closes.
    void closingWhileRunningStopsFirst() {
        openDocument("paper.tex");
        setCommand(0, TestSupport::fixture("print_then_sleep.sh"));
        setCommand(1, "/bin/echo second");
        setProcedure({1, 2});
        QSignalSpy closed(document.get(), &MyDocument::closed);
        document->showWindow();
        document->startStopSequence();
        QTRY_VERIFY(logLines(*document).contains(QStringLiteral("started")));

        QVERIFY(!document->myWindow()->close());
        QVERIFY(document->myWindow()->isVisible() && !document->isRunning());
        QVERIFY(status().startsWith(Text::format("ErrorStatus", {""})));
        QVERIFY(!logLines(*document).contains("second"));
        QVERIFY(document->myWindow()->close());
        QVERIFY(!document->myWindow()->isVisible() && closed.wait(2000));
        QCOMPARE(closed.first().first().value<MyDocument *>(), document.get());
    }

    // Only the preferences notification reloads, and only until the window closes.
    void closingWhenIdleStopsTimersAndNotifications() {
        openDocument("paper.tex");
        setEntry(&QuireonPrefs::cmdNameArray, &QuireonPrefs::setCmdNameArray, 0, "Typeset");
        NotificationCenter::defaultCenter()->post(QStringLiteral("Some Other Notification"));
        QCOMPARE(button("buttonExe1")->text(), QStringLiteral("pdfLaTeX"));
        NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        QCOMPARE(button("buttonExe1")->text(), QStringLiteral("Typeset"));
        setCommand(0, QStringLiteral("/bin/true"));
        QVERIFY(runCommand(*document, 0)); // leaves a floating timer behind
        QVERIFY(activeTimers().size() == 2);
        document->showWindow();
        QVERIFY(document->myWindow()->close() && activeTimers().isEmpty());
        setEntry(&QuireonPrefs::cmdNameArray, &QuireonPrefs::setCmdNameArray, 0, "Again");
        NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        QCOMPARE(button("buttonExe1")->text(), QStringLiteral("Typeset"));
    }
};

QTEST_MAIN(TestDocumentLife)
#include "test_document_life.moc"
