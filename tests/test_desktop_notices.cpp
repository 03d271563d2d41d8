// Desktop notices at the end of background runs, against a notification service of the
// test's own on a private session bus (CTest runs this under dbus-run-session).
#include "documenttest.h"
#include "platform/appactivity.h"

#include <QDBusConnection>
#include <QDBusMessage>

using namespace DocumentTest;

namespace {
const QString kService = "org.freedesktop.Notifications";
const QString kPath = "/org/freedesktop/Notifications";

// Records every notice it is sent; answers with ids counting from 1, or the one replaced.
class NoticeServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList notices;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "notice-server");

    bool start() {
        return bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) && bus.registerService(kService);
    }
    void stop() {
        bus.unregisterService(kService);
        bus.unregisterObject(kPath);
    }

public slots:
    uint Notify(const QString &, uint replaces, const QString &icon, const QString &summary,
                const QString &, const QStringList &actions, const QVariantMap &hints, int) {
        notices << QString("%1 %2, urgency %3, replaces %4%5").arg(icon, summary).arg(hints.value("urgency").toInt())
                       .arg(replaces).arg(actions.contains("default") ? ", clickable" : "");
        return replaces ? replaces : uint(notices.size());
    }
};
} // namespace

class TestDesktopNotices : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    QTemporaryDir dir;
    NoticeServer server;
    bool active = false;

    std::unique_ptr<MyDocument> open(const QString &name) {
        auto document = std::make_unique<MyDocument>();
        document->setFileName(writeFile(dir.filePath(name)));
        return document;
    }
    // Runs the tool that reports an error and a warning (index 0) or a clean one (index 1).
    bool run(MyDocument &document, int index, int notices) {
        return runCommand(document, index) && QTest::qWaitFor([&] { return server.notices.size() == notices; });
    }

private slots:
    void initTestCase() {
        Text::installTable();
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run under dbus-run-session");
        QVERIFY(server.start());
        AppActivity::setSource([this] { return active; });
    }
    void init() {
        prefs = freshPrefs();
        setCommand(0, TestSupport::fixture("latex_like.sh"));
        setCommand(1, TestSupport::fixture("quick_run.sh") + " %1", "(%n page");
        server.notices.clear();
    }

    // Only background runs with the setting on speak: not one in front, nor with the setting
    // off, nor a stopped one. Another document's notice stays, the same document's is
    // replaced, and a click brings its window. Without a service nothing is said, not even
    // a warning.
    void backgroundRunsAloneAreToldReplacingTheirNoticeAndBringingTheirWindow() {
        auto thesis = open("thesis.tex");
        auto other = open("other.tex");
        active = true;
        QVERIFY(runCommand(*thesis, 1));
        active = false;
        gQuireonPrefs->setNotifyInBackground(false);
        QVERIFY(runCommand(*thesis, 1));
        gQuireonPrefs->setNotifyInBackground(true);
        setCommand(2, TestSupport::fixture("print_then_sleep.sh"));
        QVERIFY(thesis->execCommandOfIndex(2) && thesis->isRunning());
        thesis->startStopSequence();
        QVERIFY(waitIdle(*thesis));
        QVERIFY(run(*thesis, 0, 1) && run(*other, 1, 2) && run(*thesis, 1, 3));
        QCOMPARE(server.notices, QStringList({"quireon thesis.tex: 1 error, 1 warning, urgency 2, replaces 0, clickable",
                                              "quireon other.tex: done, 2 pages, urgency 1, replaces 0, clickable",
                                              "quireon thesis.tex: done, 2 pages, urgency 1, replaces 1, clickable"}));

        other->showWindow();
        QTRY_COMPARE(QApplication::activeWindow(), other->myWindow());
        server.bus.send(QDBusMessage::createSignal(kPath, kService, "ActionInvoked") << 1u << QString("default"));
        QTRY_COMPARE(QApplication::activeWindow(), thesis->myWindow());

        // A document with a notice of its own and a window never brought up (its raise
        // would warn on this platform).
        auto third = open("third.tex");
        QVERIFY(run(*third, 1, 4));
        server.stop();
        QTest::failOnWarning(QRegularExpression(".*"));
        QVERIFY(runCommand(*third, 0) && runCommand(*third, 1));
        QTest::qWait(200);
        QCOMPARE(fieldText(*third, "textNumPages"), QString("2"));
        QVERIFY(server.start());
    }
};

QTEST_MAIN(TestDesktopNotices)
#include "test_desktop_notices.moc"
