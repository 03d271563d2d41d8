// The document window's floating states: heights, level, opacity, the mouse-check
// timer under a scripted pointer, and the remembered window size.
#include "platform/pointer.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"
#include "testsupport.h"
#include "window/floatingdocument.h"
#include "window/floatinggeometry.h"
#include "window/mywindow.h"

#include <QWindow>
#include <QtTest>

namespace {
struct FakeDocument : FloatingDocument {
    bool running = false;
    bool timerActive = false;
    QList<bool> autoSizeCalls;
    bool isRunning() const override { return running; }
    bool floatingTimerActive() const override { return timerActive; }
    void setAutoSize(bool autoSize) override { autoSizeCalls << autoSize; }
};
} // namespace

class TestFloatingWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QuireonPrefs> m_prefs;
    std::unique_ptr<MyWindow> m_window;
    FakeDocument m_document;
    QPoint m_pointer;

    // A shown window 400 high whose top edge is at y = 200.
    MyWindow &window()
    {
        m_window = std::make_unique<MyWindow>();
        m_window->setFloatingDocument(&m_document);
        m_window->awakeFromNib();
        m_window->setGeometry(100, 200, 400, 400);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("window not exposed");
        return *m_window;
    }
    void floatWith(int contents)
    {
        m_prefs->setWindowContents(contents);
        m_window->floatingState();
    }
    // Qt keeps the opacity in 256 steps, rounding down.
    static bool opacityIs(const MyWindow &w, double opacity)
    {
        return qAbs(w.windowOpacity() - opacity) <= 1.0 / 255 + 1e-9;
    }
    void pointerInside() { m_pointer = m_window->frameGeometry().topLeft() + QPoint(10, 10); }
    void pointerOutside() { m_pointer = m_window->frameGeometry().topLeft() - QPoint(50, 50); }

private slots:
    void init()
    {
        TestSupport::freshSettings();
        m_prefs = std::make_unique<QuireonPrefs>();
        m_prefs->awakeFromNib();
        m_document = FakeDocument();
        m_pointer = QPoint(-1000, -1000);
        Pointer::setSource([this] { return m_pointer; });
    }
    void cleanup()
    {
        m_window.reset();
        Pointer::setSource({});
    }

    void heightsForContents_data()
    {
        QTest::addColumn<int>("contents");
        QTest::addColumn<bool>("timerActive");
        QTest::addColumn<double>("height");
        QTest::newRow("full") << 0 << false << 400.0;
        QTest::newRow("band") << 1 << false << 315.0;
        QTest::newRow("band while the log shows") << 2 << true << 315.0;
        QTest::newRow("strip after the log time") << 2 << false << 66.0;
        QTest::newRow("strip") << 3 << true << 66.0;
    }
    void heightsForContents()
    {
        QFETCH(int, contents);
        QFETCH(bool, timerActive);
        QFETCH(double, height);
        const int saved = FloatingGeometry::savedHeightOf(400.7);
        QCOMPARE(saved, 400);
        QCOMPARE(FloatingGeometry::heightForContents(contents, saved, timerActive), height);
        QVERIFY(!FloatingGeometry::heightForContents(4, saved, timerActive));
        QVERIFY(!FloatingGeometry::heightForContents(-1, saved, timerActive));
    }

    void bandKeepsTheTopEdgeAndNormalRestoresIt()
    {
        MyWindow &w = window();
        m_prefs->setWindowTransparency(0.3f);
        floatWith(1);
        QCOMPARE(w.geometry(), QRect(100, 200, 400, 315));
        QVERIFY(w.miniWindow());
        QCOMPARE(w.savedWindowHeight(), 400);
        QVERIFY(w.isInFloatingState());
        QVERIFY(opacityIs(w, 0.7));
        QVERIFY(w.mouseCheckTimerRunning());
        QCOMPARE(m_document.autoSizeCalls, QList<bool>{false});

        w.normalState();
        QCOMPARE(w.geometry(), QRect(100, 200, 400, 400));
        QVERIFY(!w.miniWindow());
        QVERIFY(!w.isInFloatingState());
        QCOMPARE(w.windowOpacity(), 1.0);
        QVERIFY(!w.mouseCheckTimerRunning());
        QCOMPARE(m_document.autoSizeCalls, QList<bool>({false, true}));
    }

    void contentsTwoFollowsTheFloatingTimer()
    {
        MyWindow &w = window();
        m_document.timerActive = true;
        floatWith(2);
        QCOMPARE(w.height(), 315);
        m_document.timerActive = false;
        w.floatingState();
        QCOMPARE(w.height(), 66);
        QCOMPARE(w.geometry().top(), 200);
        m_document.timerActive = true;
        w.floatingState();
        QCOMPARE(w.height(), 315);
        QCOMPARE(w.savedWindowHeight(), 400);
    }

    void reducingTwiceKeepsTheFullHeight()
    {
        MyWindow &w = window();
        floatWith(3);
        QCOMPARE(w.height(), 66);
        floatWith(3);
        QCOMPARE(w.height(), 66);
        QCOMPARE(w.savedWindowHeight(), 400);
        QCOMPARE(m_document.autoSizeCalls, QList<bool>{false});
        w.normalState();
        QCOMPARE(w.height(), 400);
    }

    void contentsZeroWhileReducedRestoresButKeepsFloating()
    {
        MyWindow &w = window();
        floatWith(1);
        floatWith(0);
        QCOMPARE(w.geometry(), QRect(100, 200, 400, 400));
        QVERIFY(!w.miniWindow());
        QVERIFY(!w.mouseCheckTimerRunning());
        QVERIFY(w.isInFloatingState());
        QVERIFY(opacityIs(w, 0.8));
        QCOMPARE(m_document.autoSizeCalls, QList<bool>({false, true}));
    }

    void contentsZeroFromNormalOnlyFloats()
    {
        MyWindow &w = window();
        floatWith(0);
        QVERIFY(w.isInFloatingState());
        QCOMPARE(w.height(), 400);
        QVERIFY(!w.miniWindow());
        QVERIFY(!w.mouseCheckTimerRunning());
        QVERIFY(m_document.autoSizeCalls.isEmpty());
    }

    void unknownContentsChangeNothing()
    {
        MyWindow &w = window();
        floatWith(7);
        QVERIFY(!w.isInFloatingState());
        QCOMPARE(w.height(), 400);
        QCOMPARE(w.windowOpacity(), 1.0);
    }

    void pointerExpandsTheReducedWindow()
    {
        MyWindow &w = window();
        m_prefs->setAutoFloatingContents(1);
        floatWith(3);
        pointerInside();
        QTRY_COMPARE(w.height(), 315);
        QVERIFY(w.temporaryExpanded());
        QVERIFY(w.miniWindow());
        QCOMPARE(w.geometry().top(), 200);
        pointerOutside();
        QTRY_COMPARE(w.height(), 66);
        QVERIFY(!w.temporaryExpanded());
    }

    void aRunningCommandFreezesTheExpansion()
    {
        MyWindow &w = window();
        floatWith(3);
        m_document.running = true;
        pointerInside();
        w.mouseCheckProc();
        QCOMPARE(w.height(), 66);
        QVERIFY(!w.temporaryExpanded());
        m_document.running = false;
        QTRY_COMPARE(w.height(), 400);
        QVERIFY(w.temporaryExpanded());
        m_document.running = true;
        pointerOutside();
        w.mouseCheckProc();
        QCOMPARE(w.height(), 400);
        QVERIFY(w.temporaryExpanded());
    }

    void stoppingTheTimerShrinksAnExpandedWindow()
    {
        MyWindow &w = window();
        floatWith(3);
        pointerInside();
        QTRY_VERIFY(w.temporaryExpanded());
        w.stopTimer();
        QCOMPARE(w.height(), 66);
        QVERIFY(!w.temporaryExpanded());
        QVERIFY(w.miniWindow());
        w.stopTimer(); // no timer: nothing, not even a shrink
        QCOMPARE(w.height(), 66);
    }

    void normalStateWhileExpandedRestoresTheFullHeight()
    {
        MyWindow &w = window();
        m_prefs->setAutoFloatingContents(1);
        floatWith(3);
        pointerInside();
        QTRY_VERIFY(w.temporaryExpanded());
        w.normalState();
        QCOMPARE(w.geometry(), QRect(100, 200, 400, 400));
        QVERIFY(!w.temporaryExpanded());
        QVERIFY(!w.miniWindow());
    }

    void withoutAutoExpandNoTimerRuns()
    {
        m_prefs->setAutoFloating(false);
        MyWindow &w = window();
        floatWith(3);
        QVERIFY(w.miniWindow());
        QVERIFY(!w.mouseCheckTimerRunning());
        pointerInside();
        w.startTimer();
        QVERIFY(!w.mouseCheckTimerRunning());
        QCOMPARE(w.height(), 66);
    }

    void floatingLevelIsTheNativeWindowsFlag()
    {
        MyWindow w;
        w.setGeometry(0, 0, 300, 300);
        floatWithWindow(w); // before the native window exists
        QVERIFY(w.isInFloatingState());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QWindow *native = w.windowHandle();
        w.normalState();
        QCOMPARE(w.windowHandle(), native); // not re-created
        QVERIFY(!native->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!w.isInFloatingState());
        native->setFlag(Qt::WindowStaysOnTopHint, true);
        QVERIFY(w.isInFloatingState());
    }

    void windowSizeIsRemembered()
    {
        MyWindow &w = window();
        w.saveWindowSize(QSize(420, 610));
        QCOMPARE(SettingsStore().rawString(Key::DocumentWindowSize), QStringLiteral("{420, 610}"));
        MyWindow next;
        next.setGeometry(50, 60, 300, 300);
        next.awakeFromNib();
        QCOMPARE(next.geometry(), QRect(50, 60, 420, 610));
    }

    void storedWindowSizeIsReadRobustly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QSize>("size");
        QTest::newRow("absent") << QString() << QSize(300, 300);
        QTest::newRow("fractions") << "{420.7, 610.2}" << QSize(420, 610);
        QTest::newRow("too large") << "{5000, 3000}" << QSize(488, 2400);
        QTest::newRow("garbage") << "{abc, 5}" << QSize(300, 300);
        QTest::newRow("zero") << "{0, 0}" << QSize(300, 300);
        QTest::newRow("negative") << "{-5, 300}" << QSize(300, 300);
        QTest::newRow("no braces") << "400, 300" << QSize(300, 300);
        QTest::newRow("three numbers") << "{1, 2, 3}" << QSize(300, 300);
        QTest::newRow("not a number") << "{nan, inf}" << QSize(300, 300);
    }
    void storedWindowSizeIsReadRobustly()
    {
        QFETCH(QString, stored);
        QFETCH(QSize, size);
        if (!stored.isNull())
            SettingsStore().setRawString(stored, Key::DocumentWindowSize);
        MyWindow w;
        w.setGeometry(50, 60, 300, 300);
        w.awakeFromNib();
        QCOMPARE(w.geometry(), QRect(QPoint(50, 60), size));
    }

    void onlyTheUsersResizesAreReported()
    {
        MyWindow &w = window();
        QSignalSpy spy(&w, &MyWindow::userResized);
        floatWith(1);
        w.normalState();
        QCoreApplication::processEvents();
        QVERIFY(spy.isEmpty());
        w.windowHandle()->resize(380, 500); // as the window manager does for the user
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toSize(), QSize(380, 500));
    }

private:
    void floatWithWindow(MyWindow &w)
    {
        m_prefs->setWindowContents(0);
        w.floatingState();
    }
};

QTEST_MAIN(TestFloatingWindow)
#include "test_floating_window.moc"
