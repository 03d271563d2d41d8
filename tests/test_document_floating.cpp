// Documents floating while the application is in the background: the timeline of a
// command, which documents float and return, and the click a strip forwards.
#include "document/mydocument.h"
#include "documenttest.h"
#include "platform/appactivity.h"
#include "platform/pointer.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"
#include "testsupport.h"
#include "window/applicationfocus.h"
#include "window/documentorder.h"
#include "window/mywindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QMenuBar>
#include <QtTest>

using namespace DocumentTest;

class TestDocumentFloating : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    std::unique_ptr<QTemporaryDir> dir;
    std::vector<std::unique_ptr<MyDocument>> documents;
    QList<MyDocument *> frontToBack;
    bool active = true;

    // A shown document window 400 high, put at the back of the document order.
    MyDocument &openDocument(const QString &name) {
        auto document = std::make_unique<MyDocument>();
        document->setFileName(writeFile(dir->filePath(name)));
        MyWindow *window = document->myWindow();
        window->show();
        window->setGeometry(100, 120, 480, 400);
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("window not exposed");
        frontToBack << document.get();
        documents.push_back(std::move(document));
        return *documents.back();
    }
    static MyWindow &windowOf(MyDocument &document) { return *document.myWindow(); }
    void resign() {
        active = false;
        applicationDidResignActive(frontToBack);
    }
    void becomeActive() {
        active = true;
        applicationDidBecomeActive(frontToBack);
    }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() {
        prefs = freshPrefs();
        dir = std::make_unique<QTemporaryDir>();
        prefs->setLogDisplayTime(0.2f);
        prefs->setWindowContents(2);
        prefs->setProcedureArray(QList<int>(8, 0));
        setCommand(0, TestSupport::fixture("brief_run.sh") + " %1");
        active = true;
        AppActivity::setSource([this] { return active; });
        DocumentOrder::setProvider([this] { return frontToBack; });
        Pointer::setSource([] { return QPoint(-5000, -5000); });
    }
    void cleanup() {
        frontToBack.clear();
        documents.clear();
        AppActivity::setSource({});
        DocumentOrder::setProvider({});
        Pointer::setSource({});
    }

    void aBackgroundCommandShowsItsRunThenShrinks() {
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = windowOf(document);
        QVERIFY(runCommand(document, 0)); // an active application does not float
        QVERIFY(document.floatingTimerActive() && !window.isInFloatingState());
        QTRY_VERIFY(!document.floatingTimerActive());
        QVERIFY(!window.isInFloatingState());
        QCOMPARE(window.height(), 400);
        resign();
        QVERIFY(window.isInFloatingState());
        QCOMPARE(window.height(), 66);

        QVERIFY(document.execCommandOfIndex(0));
        QVERIFY(document.isRunning() && document.floatingTimerActive());
        QCOMPARE(window.geometry(), QRect(100, 120, window.width(), 315));
        QTRY_VERIFY(!document.isRunning());
        QCOMPARE(window.height(), 315); // the finished run stays readable for a while
        QTRY_COMPARE(window.height(), 66);
        QVERIFY(!document.floatingTimerActive());
        QCOMPARE(window.geometry().top(), 120);
        becomeActive();
        QVERIFY(!window.isInFloatingState());
        QCOMPARE(window.geometry(), QRect(100, 120, window.width(), 400));
    }

    void theStripStaysGrownBetweenTheStepsOfAProcedure() {
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = windowOf(document);
        setCommand(1, "/bin/sleep 0.6");
        setProcedure({1, 2});
        resign();
        document.startAutoProcedure();
        QTRY_VERIFY(fieldText(document, "statusField").contains("/bin/sleep"));
        QTest::qWait(400); // longer than the log display time
        QVERIFY(document.floatingTimerActive());
        QCOMPARE(window.height(), 315);
        QTRY_VERIFY(!document.isRunning());
        QTRY_COMPARE(window.height(), 66);
    }

    void onlyTheFrontmostFloatsAndEveryoneReturns() {
        MyDocument &front = openDocument("front.tex");
        MyDocument &back = openDocument("back.tex");
        resign();
        QVERIFY(windowOf(front).isInFloatingState() && !windowOf(back).isInFloatingState());
        QCOMPARE(windowOf(back).height(), 400);

        QVERIFY(back.execCommandOfIndex(0)); // a command floats a back window too
        QVERIFY(windowOf(back).isInFloatingState());
        QCOMPARE(windowOf(back).height(), 315);
        QCOMPARE(back.windowOrderWithinApplication(), 1);
        QCOMPARE(front.windowOrderWithinApplication(), 0);
        QTRY_VERIFY(!back.isRunning());
        back.enableButtons(false);
        QVERIFY(front.execCommandOfIndex(0));
        becomeActive();
        for (MyDocument *document : {&front, &back}) {
            QVERIFY(!windowOf(*document).isInFloatingState());
            QCOMPARE(windowOf(*document).height(), 400);
            QCOMPARE(windowOf(*document).windowOpacity(), 1.0);
        }
        QVERIFY(control<QPushButton>(back, "buttonClearFiles")->isEnabled());
        for (const char *name : {"buttonClearFiles", "buttonExe1"}) // off while it runs
            QVERIFY(!control<QPushButton>(front, name)->isEnabled());
        QTRY_VERIFY(!front.isRunning());

        frontToBack.clear();
        resign(); // no document: nothing to do
    }

    void floatingWindowOffKeepsOrReturnsToNormal() {
        MyDocument &document = openDocument("paper.tex");
        resign();
        QVERIFY(windowOf(document).isInFloatingState());
        prefs->setFloatingWindow(false);
        document.moveToFloatingState();
        QVERIFY(!windowOf(document).isInFloatingState());
        QCOMPARE(windowOf(document).height(), 400);
        becomeActive();
        resign();
        QVERIFY(!windowOf(document).isInFloatingState());
    }

    void theStripForwardsAClickOnStartStop_data() {
        QTest::addColumn<int>("contents");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("onStartStop");
        QTest::addColumn<int>("clicks");
        QTest::newRow("left on the button of a strip") << 3 << int(Qt::LeftButton) << true << 1;
        QTest::newRow("left on the button of a band") << 1 << int(Qt::LeftButton) << true << 1;
        QTest::newRow("right on the button") << 3 << int(Qt::RightButton) << true << 0;
        QTest::newRow("left beside the button") << 3 << int(Qt::LeftButton) << false << 0;
        // Not reduced: the button takes the click itself, and it is not clicked twice.
        QTest::newRow("left on a full floating window") << 0 << int(Qt::LeftButton) << true << 1;
    }
    void theStripForwardsAClickOnStartStop() {
        QFETCH(int, contents);
        QFETCH(int, button);
        QFETCH(bool, onStartStop);
        prefs->setWindowContents(contents);
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = windowOf(document);
        resign();
        QVERIFY(window.isInFloatingState());
        QPushButton *target = control<QPushButton>(document, "buttonStartStop");
        QSignalSpy clicked(target, &QPushButton::clicked);
        const QPoint onButton = target->mapTo(&window, target->rect().center());
        const QPoint position = onStartStop ? onButton : onButton + QPoint(0, target->height());
        QTest::mouseClick(window.windowHandle(), Qt::MouseButton(button), {}, position);
        if (window.miniWindow())
            QCOMPARE(clicked.size(), 0); // held back until the application is active
        becomeActive();
        QVERIFY(!window.isInFloatingState());
        QTEST(int(clicked.size()), "clicks");
        becomeActive(); // a later activation forwards nothing more
        QTEST(int(clicked.size()), "clicks");
    }

    // Window managers that activate on the press deliver it afterwards, to the window in
    // its normal layout, where something else now stands under the pointer.
    void aPressDeliveredAfterTheActivationClicksWhereTheStripShowedTheButton_data() {
        QTest::addColumn<bool>("menus");
        QTest::addColumn<int>("laterClicks");
        QTest::newRow("menu bar above the button") << true << 1;
        QTest::newRow("button where the strip showed it") << false << 2;
    }
    void aPressDeliveredAfterTheActivationClicksWhereTheStripShowedTheButton() {
        QFETCH(bool, menus);
        prefs->setWindowContents(3);
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = windowOf(document);
        if (menus) {
            document.installMenus(window.menuBar()); // as every window of the application has
            QTRY_VERIFY(window.menuBar()->height() > 0);
        }
        resign();
        QPushButton *target = control<QPushButton>(document, "buttonStartStop");
        const QPoint stripPoint = target->mapToGlobal(target->rect().center());
        QSignalSpy clicked(target, &QPushButton::clicked);
        becomeActive();
        QVERIFY(!window.miniWindow());
        // In the normal layout the menu bar stands above the button again.
        QTRY_COMPARE(target->rect().contains(target->mapFromGlobal(stripPoint)), !menus);
        const auto click = [&] {
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, window.mapFromGlobal(stripPoint));
        };
        click();
        QCOMPARE(clicked.size(), 1);
        click(); // only the press that follows the activation is forwarded
        QTEST(int(clicked.size()), "laterClicks");
    }

    void theUsersResizeIsRemembered() {
        const auto stored = [] { return SettingsStore().rawString(Key::DocumentWindowSize); };
        MyDocument &document = openDocument("paper.tex");
        resign(); // the code's own resizing is not remembered
        becomeActive();
        QTRY_COMPARE(windowOf(document).height(), 400); // late confirmations settle
        QVERIFY(stored().isEmpty());
        const int width = windowOf(document).width(); // the contents decide the least width
        windowOf(document).windowHandle()->resize(width, 500); // as the window manager does for the user
        QTRY_COMPARE(stored(), QStringLiteral("{%1, 500}").arg(width));
        // A long status neither widens the window nor passes for the user's size, and the
        // window's limits agree with each other.
        control<QLabel>(document, "statusField")->setText("Running: " + QString(300, u'x'));
        QTest::qWait(300);
        QCOMPARE(windowOf(document).width(), width);
        QVERIFY(windowOf(document).minimumWidth() <= windowOf(document).maximumWidth());
        QCOMPARE(stored(), QStringLiteral("{%1, 500}").arg(width));
        MyDocument next;
        next.setFileName(writeFile(dir->filePath("next.tex")));
        QCOMPARE(windowOf(next).height(), 500);
    }

};

QTEST_MAIN(TestDocumentFloating)
#include "test_document_floating.moc"
