// The process menu of a document window: its items, their validation while idle and
// while running (titles tied to buttons), and shortcuts that follow the validation.
#include "documenttest.h"
#include "platform/panels.h"

#include <QAction>
#include <QMenuBar>

using namespace DocumentTest;

class TestDocumentMenus : public DocumentTestCase {
    Q_OBJECT

    void openWithMenus() {
        openDocument();
        document->installMenus(document->myWindow()->menuBar());
    }
    QAction *item(const char *name) {
        return document->processMenu()->findChild<QAction *>(QString::fromLatin1(name));
    }
    // The enabled items among the process menu's, by object name.
    QStringList enabledItems() {
        QStringList names;
        for (QAction *action : document->processMenu()->actions())
            if (!action->isSeparator() && action->isEnabled())
                names << action->objectName();
        return names;
    }

private slots:
    void init() { setUp(); }

    // Items follow the command and open names in order (the keys are pressed further down).
    void menuHoldsTheProcessItems() {
        openWithMenus();
        const QList<QAction *> items = document->processMenu()->actions();
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(items[i]->text(), gQuireonPrefs->cmdNameAtIndex(i));
            QCOMPARE(items[i + 6]->text(), gQuireonPrefs->openNameAtIndex(i));
        }
    }

    void validationFollowsRunStateAndFiles() {
        writeFile(dir->filePath("main.pdf"));
        setCommand(0, TestSupport::fixture("print_then_sleep.sh"));
        openWithMenus();
        // tex files for commands 1 and 4; pdf for open 1.
        const QStringList idle{"actionExec1",       "actionExec4",    "actionOpenFile1",
                               "actionRunSequence", "actionClearLog", "actionClearFiles",
                               "actionSymLink"};
        QCOMPARE(enabledItems(), idle);

        item("actionExec1")->trigger();
        QVERIFY(document->isRunning());
        QCOMPARE(enabledItems(), QStringList{"actionStopSequence"});
        item("actionRunSequence")->trigger(); // disabled: nothing starts
        item("actionStopSequence")->trigger();
        QVERIFY(!document->isRunning());
        QCOMPARE(enabledItems(), idle);

        // A file a run writes enables its item when the run ends, menu closed or not.
        setCommand(0, "/usr/bin/touch %1.aux");
        QVERIFY(runCommand(*document, 0));
        QVERIFY(enabledItems().contains("actionExec2"));
    }

    void titlesAreTiedToButtonsByName() {
        writeFile(dir->filePath("main.log"));
        QStringList opens = gQuireonPrefs->openNameArray();
        opens[0] = opens[1] = "Same";
        gQuireonPrefs->setOpenNameArray(opens);
        setEntry(&QuireonPrefs::cmdNameArray, &QuireonPrefs::setCmdNameArray, 2,
                 Text::localized("Menu ClearLog"));
        openWithMenus();
        int proc = -1;
        QVERIFY(MyDocument::menuTitleIsButton("Same", &proc) && proc == 6);
        QVERIFY(!MyDocument::menuTitleIsButton("No such name", &proc) && proc == 10);

        // Both "Same" items follow open button 1 (no main.pdf), not button 2 (main.log).
        QVERIFY(!item("actionOpenFile1")->isEnabled() && !item("actionOpenFile2")->isEnabled());
        // The clear-log item is now command 3's (no main.idx): disabled while idle.
        QVERIFY(!item("actionClearLog")->isEnabled());
        writeFile(dir->filePath("main.idx"));
        document->enableButtons(true);
        QVERIFY(item("actionClearLog")->isEnabled());
    }

    // A link the menu's sheet makes is a new file of the document: its item comes on.
    void linkFromTheMenuEnablesTheItemsOfTheLinkedFile() {
        gQuireonPrefs->setSymLinkArray(QStringList{writeFile(dir->filePath("draft.pdf"))});
        openWithMenus();
        QVERIFY(!item("actionOpenFile1")->isEnabled());
        Panels::setNextPanelHandler([&](QFileDialog *) { return dir->filePath("main"); });
        item("actionSymLink")->trigger();
        QVERIFY(QFileInfo(dir->filePath("main.pdf")).isSymLink());
        QVERIFY(item("actionOpenFile1")->isEnabled());
    }

    void shortcutsFollowValidation() {
        setCommand(0, TestSupport::fixture("print_then_sleep.sh"));
        setProcedure({1});
        openWithMenus();
        document->showWindow();
        QVERIFY(QTest::qWaitForWindowActive(document->myWindow()));
        QWidget *window = document->myWindow();
        QTest::keyClick(window, Qt::Key_Period, Qt::ControlModifier); // idle: stop is disabled
        QVERIFY(!document->isRunning());
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(document->isRunning());
        QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier); // running: no second start
        QTest::keyClick(window, Qt::Key_Period, Qt::ControlModifier);
        QVERIFY(!document->isRunning() && !logLines(*document).isEmpty());
        QTest::keyClick(window, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(logLines(*document).isEmpty());
    }
};

QTEST_MAIN(TestDocumentMenus)
#include "test_document_menus.moc"
