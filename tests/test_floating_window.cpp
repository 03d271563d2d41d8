// The document window's floating states: heights, level, opacity, the mouse-check
// timer under a scripted pointer, and the remembered window size.
#include "documenttest.h"
#include "platform/pointer.h"
#include "settings/settingsstore.h"
#include "window/floatingdocument.h"

#include <QWindow>

struct FakeDocument : FloatingDocument {
    bool running = false;
    bool timerActive = false;
    QList<bool> autoSizeCalls;
    bool isRunning() const override { return running; }
    bool floatingTimerActive() const override { return timerActive; }
    void setAutoSize(bool autoSize) override { autoSizeCalls << autoSize; }
};

class TestFloatingWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QuireonPrefs> m_prefs;
    std::unique_ptr<MyWindow> m_window;
    FakeDocument m_document;
    QPoint m_pointer;

    // A shown window 400 high whose top edge is at y = 200.
    MyWindow &window() {
        m_window = std::make_unique<MyWindow>();
        m_window->setFloatingDocument(&m_document);
        m_window->awakeFromNib();
        m_window->setGeometry(100, 200, 400, 400);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the window was never shown");
        return *m_window;
    }
    void floatWith(int contents) {
        m_prefs->setWindowContents(contents);
        m_window->floatingState();
    }
    // Height, expanded by the pointer, reduced.
    std::tuple<int, bool, bool> state() const {
        return {m_window->height(), m_window->temporaryExpanded(), m_window->miniWindow()};
    }
    void pointerInside() { m_pointer = m_window->frameGeometry().topLeft() + QPoint(10, 10); }
    void pointerOutside() { m_pointer = m_window->frameGeometry().topLeft() - QPoint(50, 50); }

private slots:
    void init() {
        m_prefs = DocumentTest::freshPrefs();
        m_document = FakeDocument();
        m_pointer = QPoint(-1000, -1000);
        Pointer::setSource([this] { return m_pointer; });
    }
    void cleanup() {
        m_window.reset();
        Pointer::setSource({});
    }

    // Floating from normal or again: the height, the top edge, opacity, the mouse-check
    // timer and the document's auto size, then the normal state back; only a resize by
    // the user is reported as one.
    void floatingSizesByContentsAndNormalRestores_data() {
        // before: contents floated with first, -1 for none; timerActive: the document's
        // floating timer at the second float.
        TestSupport::columns<int, int, bool, int, QList<bool>>(
            {"before", "contents", "timerActive", "height", "autoSize"});
        QTest::newRow("band") << -1 << 1 << false << 315 << QList<bool>{false};
        QTest::newRow("band while the log shows") << 3 << 2 << true << 315 << QList<bool>{false};
        QTest::newRow("strip after the log time") << 2 << 2 << false << 66 << QList<bool>{false};
        QTest::newRow("full while reduced") << 1 << 0 << false << 400 << QList<bool>{false, true};
        QTest::newRow("full from normal") << -1 << 0 << false << 400 << QList<bool>{};
    }
    void floatingSizesByContentsAndNormalRestores() {
        QFETCH(int, before);
        QFETCH(int, contents);
        QFETCH(bool, timerActive);
        QFETCH(int, height);
        QFETCH(QList<bool>, autoSize);
        MyWindow &w = window();
        QSignalSpy resized(&w, &MyWindow::userResized);
        m_document.timerActive = true;
        if (before >= 0)
            floatWith(before);
        m_document.timerActive = timerActive;
        floatWith(contents);
        QCOMPARE(w.geometry(), QRect(100, 200, 400, height));
        const bool reduced = height < 400;
        QCOMPARE(std::tuple(w.isInFloatingState(), w.miniWindow(), w.mouseCheckTimerRunning()),
                 std::tuple(true, reduced, reduced));
        QVERIFY(qAbs(w.windowOpacity() - 0.8) <= 1.0 / 255 + 1e-9); // in 256 steps
        QCOMPARE(m_document.autoSizeCalls, autoSize);
        w.normalState();
        QCOMPARE(w.geometry(), QRect(100, 200, 400, 400));
        QVERIFY(!w.isInFloatingState() && !w.miniWindow() && !w.mouseCheckTimerRunning());
        QCOMPARE(w.windowOpacity(), 1.0);
        QCOMPARE(m_document.autoSizeCalls, autoSize + QList<bool>(reduced ? 1 : 0, true));
        QCoreApplication::processEvents();
        QVERIFY(resized.isEmpty()); // the code's own resizing is not the user's
        w.windowHandle()->resize(400, height); // the floating size confirmed after the normal one
        QTest::qWait(100); // for the confirmation, then the answer to it
        QTRY_COMPARE(w.geometry(), QRect(100, 200, 400, 400));
        QVERIFY(resized.isEmpty());
        w.windowHandle()->resize(380, 500); // as the window manager does for the user
        QTRY_COMPARE(resized.size(), 1);
        QCOMPARE(resized.at(0).at(0).toSize(), QSize(380, 500));
    }

    // The pointer expands the reduced window, unless a command runs, which freezes the size
    // either way; stopping the timer or the normal state ends the expansion.
    void pointerExpandsTheReducedWindow() {
        MyWindow &w = window();
        floatWith(3);
        m_document.running = true;
        pointerInside();
        w.mouseCheckProc();
        QCOMPARE(state(), std::tuple(66, false, true));
        m_document.running = false;
        QTRY_COMPARE(state(), std::tuple(400, true, true));
        m_document.running = true;
        pointerOutside();
        w.mouseCheckProc();
        QCOMPARE(state(), std::tuple(400, true, true));
        m_document.running = false;
        QTRY_COMPARE(state(), std::tuple(66, false, true));
        m_prefs->setAutoFloatingContents(1);
        pointerInside();
        QTRY_COMPARE(state(), std::tuple(315, true, true));
        w.stopTimer();
        QCOMPARE(state(), std::tuple(66, false, true));
        w.startTimer();
        QTRY_VERIFY(w.temporaryExpanded());
        w.normalState();
        QCOMPARE(state(), std::tuple(400, false, false));
        m_prefs->setAutoFloating(false); // the timer stops and stays off
        floatWith(3);
        w.startTimer();
        QVERIFY(!w.mouseCheckTimerRunning());
    }

    void floatingLevelIsTheNativeWindowsFlag() {
        MyWindow w;
        w.setGeometry(0, 0, 300, 300);
        m_prefs->setWindowContents(0);
        w.floatingState(); // before the native window exists
        QVERIFY(w.isInFloatingState());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWindow *native = w.windowHandle();
        QVERIFY(native->flags().testFlag(Qt::WindowStaysOnTopHint));
        w.normalState();
        QCOMPARE(w.windowHandle(), native); // not re-created
        QVERIFY(!native->flags().testFlag(Qt::WindowStaysOnTopHint) && !w.isInFloatingState());
    }

    void storedWindowSizeIsReadRobustly_data() {
        TestSupport::columns<QString, QSize>({"stored", "size"});
        QTest::newRow("fractions") << "{420.7, 610.2}" << QSize(420, 610);
        QTest::newRow("too large") << "{5000, 3000}" << QSize(488, 2400);
        QTest::newRow("garbage") << "{abc, 5}" << QSize(300, 300);
        QTest::newRow("negative") << "{-5, 300}" << QSize(300, 300);
        QTest::newRow("no braces") << "400, 300" << QSize(300, 300);
        QTest::newRow("not a number") << "{nan, inf}" << QSize(300, 300);
    }
    void storedWindowSizeIsReadRobustly() {
        QFETCH(QString, stored);
        QFETCH(QSize, size);
        SettingsStore().setRawString(stored, Key::DocumentWindowSize);
        MyWindow w; // not shown yet: the size changes, not the place
        w.setGeometry(50, 60, 300, 300);
        w.awakeFromNib();
        QCOMPARE(w.geometry(), QRect(QPoint(50, 60), size));
    }
};

QTEST_MAIN(TestFloatingWindow)
#include "test_floating_window.moc"
