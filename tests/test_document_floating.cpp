// Documents floating while the application is in the background: the timeline of a
// command, which documents float and return, and the click a strip forwards.
#include "documenttest.h"
#include "platform/appactivity.h"
#include "platform/pointer.h"
#include "settings/settingsstore.h"
#include "window/applicationfocus.h"
#include "window/documentorder.h"

#include <QLabel>
#include <QMenuBar>
#include <QWindow>

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
        MyDocument &document = *documents.emplace_back(std::make_unique<MyDocument>());
        document.setFileName(writeFile(dir->filePath(name)));
        document.myWindow()->show();
        document.myWindow()->setGeometry(100, 120, 480, 400);
        if (!QTest::qWaitForWindowExposed(document.myWindow()))
            qFatal("the document window was never shown");
        frontToBack << &document;
        return document;
    }
    void resign() { active = false; applicationDidResignActive(frontToBack); }
    void becomeActive() { active = true; applicationDidBecomeActive(frontToBack); }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() {
        prefs = freshPrefs();
        dir = std::make_unique<QTemporaryDir>();
        prefs->setLogDisplayTime(0.2f);
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
    }

    // Runs in the background show themselves, then shrink, unless floating is turned off.
    // None of these resizes passes for the user's; the user's own is remembered.
    void backgroundRunsFloatAndOnlyTheUsersResizeIsRemembered() {
        const auto stored = [] { return SettingsStore().rawString(Key::DocumentWindowSize); };
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = *document.myWindow();
        const auto state = [&] { return std::pair(window.isInFloatingState(), window.height()); };
        QVERIFY(runCommand(document, 0)); // an active application does not float
        QVERIFY(document.floatingTimerActive() && !window.isInFloatingState());
        QTRY_VERIFY(!document.floatingTimerActive());
        QCOMPARE(state(), std::pair(false, 400));
        resign();
        QCOMPARE(state(), std::pair(true, 66));

        QVERIFY(document.execCommandOfIndex(0) && document.isRunning() && document.floatingTimerActive());
        QCOMPARE(window.geometry(), QRect(100, 120, window.width(), 315));
        QTRY_VERIFY(!document.isRunning());
        QCOMPARE(window.height(), 315); // the finished run stays readable for a while
        QTRY_COMPARE(window.height(), 66);
        QVERIFY(!document.floatingTimerActive());
        QCOMPARE(window.geometry().top(), 120);

        setCommand(1, "/bin/sleep 0.6"); // the band stays between the steps of a procedure
        setProcedure({1, 2});
        document.startAutoProcedure();
        QTRY_VERIFY(fieldText(document, "statusField").contains("/bin/sleep"));
        QTest::qWait(400); // longer than the log display time
        QCOMPARE(std::pair(document.floatingTimerActive(), window.height()), std::pair(true, 315));
        QTRY_VERIFY(!document.isRunning());
        QTRY_COMPARE(window.height(), 66);

        prefs->setFloatingWindow(false); // turned off: back to normal, and no more floating
        document.moveToFloatingState();
        QCOMPARE(window.geometry(), QRect(100, 120, window.width(), 400));
        becomeActive();
        resign();
        QCOMPARE(state(), std::pair(false, 400));
        QVERIFY(stored().isEmpty());

        const int width = window.width(); // the contents decide the least width
        emit window.userResized(QSize(width, 500)); // the window manager's resize
        QTRY_COMPARE(stored(), QStringLiteral("{%1, 500}").arg(width));
        // A long status neither widens the window nor passes for the user's size, and the
        // window's limits agree with each other.
        control<QLabel>(document, "statusField")->setText("Running: " + QString(300, u'x'));
        QTest::qWait(300);
        QCOMPARE(window.width(), width);
        QVERIFY(window.minimumWidth() <= window.maximumWidth());
        QCOMPARE(stored(), QStringLiteral("{%1, 500}").arg(width));
        MyDocument next;
        next.setFileName(writeFile(dir->filePath("next.tex")));
        QCOMPARE(next.myWindow()->height(), 500);
    }

    void onlyTheFrontmostFloatsAndEveryoneReturns() {
        MyDocument &front = openDocument("front.tex");
        MyDocument &back = openDocument("back.tex");
        const auto state = [](MyDocument &d) {
            return std::tuple(d.myWindow()->isInFloatingState(), d.myWindow()->height(), d.windowOrderWithinApplication());
        };
        resign();
        QCOMPARE(state(front), std::tuple(true, 66, 0));
        QCOMPARE(state(back), std::tuple(false, 400, 1));
        QVERIFY(back.execCommandOfIndex(0)); // a command floats a back window too
        QCOMPARE(state(back), std::tuple(true, 315, 1));
        QTRY_VERIFY(!back.isRunning());
        back.enableButtons(false);
        QVERIFY(front.execCommandOfIndex(0));
        becomeActive();
        QCOMPARE(state(front), std::tuple(false, 400, 0));
        QCOMPARE(state(back), std::tuple(false, 400, 1));
        QVERIFY(control<QPushButton>(back, "buttonClearFiles")->isEnabled());
        for (const char *name : {"buttonClearFiles", "buttonExe1"}) // off while it runs
            QVERIFY(!control<QPushButton>(front, name)->isEnabled());
        QTRY_VERIFY(!front.isRunning());

        frontToBack.clear();
        resign(); // no document: nothing to do
    }

    // A press on Start/Stop of a reduced window in the background clicks it once, when the
    // application is active. Window managers that activate on the press deliver it late, to
    // the normal layout, where the menu bar may now stand under the pointer.
    void aPressOnTheStripClicksStartStopOnce_data() {
        // beside: the press lands just below the button; late: it comes after the
        // activation; laterClicks: after another activation, or a later press.
        TestSupport::columns<int, int, bool, bool, bool, int, int>(
            {"contents", "button", "beside", "late", "menus", "clicks", "laterClicks"});
        const int left = Qt::LeftButton;
        QTest::newRow("strip") << 3 << left << false << false << false << 1 << 1;
        QTest::newRow("right button") << 3 << int(Qt::RightButton) << false << false << false << 0 << 0;
        QTest::newRow("beside the button") << 3 << left << true << false << false << 0 << 0;
        QTest::newRow("full window takes it itself, once") << 0 << left << false << false << false << 1 << 1;
        QTest::newRow("late, menu bar above the button") << 3 << left << false << true << true << 1 << 1;
        QTest::newRow("late, button where the strip showed it") << 3 << left << false << true << false << 1 << 2;
    }
    void aPressOnTheStripClicksStartStopOnce() {
        QFETCH(int, contents);
        QFETCH(int, button);
        QFETCH(bool, beside);
        QFETCH(bool, late);
        QFETCH(bool, menus);
        prefs->setWindowContents(contents);
        MyDocument &document = openDocument("paper.tex");
        MyWindow &window = *document.myWindow();
        if (menus) {
            document.installMenus(window.menuBar()); // as every window of the application has
            QTRY_VERIFY(window.menuBar()->height() > 0);
        }
        resign();
        QVERIFY(window.isInFloatingState());
        QPushButton *target = control<QPushButton>(document, "buttonStartStop");
        QSignalSpy clicked(target, &QPushButton::clicked);
        const QPoint at = target->mapToGlobal(target->rect().center() + QPoint(0, beside ? target->height() : 0));
        const auto press = [&] { QTest::mouseClick(window.windowHandle(), Qt::MouseButton(button), {}, window.mapFromGlobal(at)); };
        if (!late) {
            press();
            if (window.miniWindow())
                QCOMPARE(clicked.size(), 0); // held back until the application is active
        }
        becomeActive();
        if (late) {
            QTRY_COMPARE(target->rect().contains(target->mapFromGlobal(at)), !menus); // normal layout
            press();
        }
        QTEST(int(clicked.size()), "clicks");
        late ? press() : becomeActive(); // forwards nothing more
        QTEST(int(clicked.size()), "laterClicks");
    }
};

QTEST_MAIN(TestDocumentFloating)
#include "test_document_floating.moc"
