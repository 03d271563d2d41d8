// The process runner against small fake tools: order of reports, launch failures,
// argument passing, input, decoding, stopping and cleaning up the process group.
#include "process/childprocess.h"
#include "process/processreaper.h"
#include "process/taskwrapper.h"
#include "processcensus.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"
#include "testsupport.h"

#include <QtTest>
#include <csignal>
#include <functional>

namespace {
struct Recorder : TaskWrapperController {
    QStringList kinds, outputs;
    QList<QStringList> argumentLists;
    std::function<void()> onOutput;

    void processStarted(const QStringList &a) override { kinds << "started"; argumentLists << a; }
    void appendOutput(const QString &output) override {
        kinds << "output";
        outputs << output;
        if (onOutput)
            onOutput();
    }
    void processFinished(const QStringList &a) override { kinds << "finished"; argumentLists << a; }
    QString output() const { return outputs.join(QString()); }
    int finishedCount() const { return int(kinds.count("finished")); }
};
} // namespace

class TestTaskWrapper : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Recorder recorder; // what the runner under test reported

    std::unique_ptr<TaskWrapper> start(const QStringList &arguments, const QString &input = {},
                                       quint32 encoding = LogEncoding::Utf8Mib) {
        auto runner = std::make_unique<TaskWrapper>(&recorder, arguments, m_dir.path(), input, encoding);
        [&] { QVERIFY(runner->startProcess()); }();
        return runner;
    }

    static QString tool(const char *name) { return TestSupport::fixture(name); }

    // How often the event loop is about to sleep while it runs freely for ms milliseconds:
    // a few times when idle, without end when something it watches is always ready.
    static int sleepsWithin(int ms) {
        QEventLoop loop;
        int sleeps = 0;
        const auto counting = connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                                      [&] { ++sleeps; });
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        disconnect(counting);
        return sleeps;
    }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() { recorder = Recorder(); }

    void launchFailureReportsTheErrorAndOneEnd_data() {
        TestSupport::columns<QStringList, QString>({"arguments", "workingDir"});
        QTest::newRow("missing program") << QStringList{"/nonexistent/tool", "-x"} << QDir::tempPath();
        QTest::newRow("no command at all") << QStringList{} << QDir::tempPath();
        QTest::newRow("bare name, no PATH search") << QStringList{"sh", "-c", "true"} << QDir::tempPath();
        QTest::newRow("missing working folder") << QStringList{tool("print_args.sh")} << "/nonexistent/folder";
    }
    void launchFailureReportsTheErrorAndOneEnd() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, workingDir);
        auto runner = std::make_unique<TaskWrapper>(&recorder, arguments, workingDir, "x\n", LogEncoding::Utf8Mib);
        QVERIFY(!runner->startProcess());
        QCOMPARE(recorder.kinds, QStringList({"started", "output"}));
        QVERIFY(recorder.outputs.first().contains(arguments.value(0))); // the program it could not start
        runner->stopProcess();
        runner.reset(); // the end is reported once
        QCOMPARE(recorder.kinds, QStringList({"started", "output", "finished"}));
    }

    // Reports come in order and the child is reaped; arguments reach the program unchanged
    // and without a shell; both streams arrive in order; an unfinished last line is kept;
    // a child that closes its output ends the run and is terminated with its group; bytes
    // are decoded in the chosen encoding, a character split between two reads included.
    void outputArrivesInOrderAndTheChildIsReaped_data() {
        TestSupport::columns<QStringList, QString, int, uint>({"arguments", "expected", "status", "encoding"});
        const auto row = [](const char *name, const QStringList &arguments, const QString &expected,
                            int status = 0, uint encoding = LogEncoding::Utf8Mib) {
            QTest::newRow(name) << arguments << expected << status << encoding;
        };
        const QStringList extra =
            QStringLiteral("|a b|\"quoted\"|'single'|x;y|$HOME|*|$(touch pwned)|"
                           "`touch pwned2`|é ü|a\\b|  two  spaces  ")
                .split('|');
        QString printed = "cwd=" + QDir(m_dir.path()).canonicalPath() + "\nargc=12\n";
        for (const QString &argument : extra)
            printed += '[' + argument + "]\n";
        row("hostile arguments", QStringList{tool("print_args.sh")} + extra, printed);
        row("standard error joins output", {tool("stderr_stdout.sh")}, "out 1\nerr 1\nout 2\nerr 2\nout 3\nerr 3\n");
        row("no final newline, exit 7", {tool("no_final_newline.sh")}, "first line\nlast line without newline", 7);
        row("closes its output, terminated", {tool("closes_output.sh")}, "closing output\n", SIGTERM);
        row("invalid and split UTF-8", {tool("bad_utf8.sh")},
            QStringLiteral("bad:\uFFFD\uFFFD:ok\nsplit:\u00e9:done\n"));
        row("Latin 1", {tool("bad_utf8.sh")}, QStringLiteral("bad:ÿþ:ok\nsplit:Ã©:done\n"), 0, 4);
    }
    void outputArrivesInOrderAndTheChildIsReaped() {
        QFETCH(QStringList, arguments);
        QFETCH(uint, encoding);
        auto runner = start(arguments, {}, encoding);
        const qint64 pid = runner->processIdentifier();
        QVERIFY(pid > 0);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.finishedCount(), 1, 20000);
        QTEST(recorder.output(), "expected");
        QVERIFY(QRegularExpression("^started( output)+ finished$").match(recorder.kinds.join(' ')).hasMatch());
        QVERIFY(!recorder.outputs.contains(QString()));
        QCOMPARE(recorder.argumentLists, QList<QStringList>({arguments, arguments}));
        // Reaped, not left as a zombie, and nothing of its group left.
        QTRY_VERIFY(ProcessCensus::state(pid).isNull() && !ProcessCensus::groupAlive(pid));
        QFETCH(int, status);
        QTRY_COMPARE(runner->terminationStatus(), status);
    }

    // Stopping a run that is not over returns within the grace periods, even from a tool
    // that ignores the terminate signal or floods its output, or whose own end left a
    // program holding the output; the whole process group ends, and the tool is reaped.
    // Input goes in as ASCII, one ? per character it cannot hold; when it is more than the
    // pipe takes, it is written as the tool reads it, without holding up the start.
    void stopEndsWhatStillRuns_data() {
        // shown: the output before the stop and after it ("" for a flood, which is not
        // kept); status: how the tool ended, -1 when not checked.
        TestSupport::columns<QString, QString, QString, int, int>({"program", "shown", "input", "withinMs", "status"});
        const auto row = [](const char *name, const char *program, const QString &shown, int withinMs, int status,
                            const QString &input = {}) {
            QTest::newRow(name) << tool(program) << shown << input << withinMs << status;
        };
        const int graces = TaskWrapper::kTerminateGraceMs + TaskWrapper::kKillGraceMs;
        QString input;
        for (int i = 0; input.size() < 200 * 1024; ++i)
            input += QStringLiteral("line %1 of a long input that does not fit the pipe\n").arg(i);
        // Standard input stays open: the tool waits for more, never sees the input end.
        row("long input, then waits for more", "echo_input.sh", "h?llo ?\?!\n" + input, 1000, SIGTERM,
            QString::fromUtf8("h\u00e9llo \u0080\U0001F600!\n") + input);
        row("ignores TERM", "ignores_term.sh", "ignoring TERM\n", graces + 500, SIGKILL);
        row("floods, ignoring TERM", "floods_ignoring_term.sh", "", graces + 1000, -1);
        row("exited, a program it started holds the output", "leaves_grandchild.sh", "parent starts\nparent exits\n",
            1000, 0);
    }
    void stopEndsWhatStillRuns() {
        QFETCH(QString, program);
        QFETCH(QString, shown);
        QFETCH(QString, input);
        QFETCH(int, status);
        if (shown.isEmpty())
            recorder.onOutput = [&] { recorder.outputs.clear(); };
        const QDeadlineTimer starting(1000);
        auto runner = start({program}, input);
        QVERIFY(!starting.hasExpired());
        const qint64 pid = runner->processIdentifier();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.kinds.contains("output") && recorder.output() == shown &&
                                     runner->isRunning() == (status != 0), 20000);
        QVERIFY(ProcessCensus::groupAlive(pid) && recorder.finishedCount() == 0); // the run is not over
        if (!input.isEmpty()) // all of it written: nothing keeps the loop awake while the tool waits
            QCOMPARE_LT(sleepsWithin(300), 50);
        QFETCH(int, withinMs);
        const QDeadlineTimer deadline(withinMs); // for the event loop to be given back
        runner->stopProcess();
        QVERIFY(!deadline.hasExpired());
        QCOMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), shown); // nothing came after
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid) && ProcessCensus::state(pid).isNull());
        if (status >= 0)
            QTRY_COMPARE(runner->terminationStatus(), status);
    }

    // On the way out, a child the reaper holds with a long grace is killed at once once the
    // caller is in a hurry (a second signal), not when its grace ends.
    void theWayOutKillsWhatTheReaperHoldsInAHurry() {
        ChildProcess child;
        QCOMPARE(child.spawn({tool("ignores_term.sh")}, m_dir.path()), 0);
        const pid_t pid = child.release();
        const QDeadlineTimer hurried(30000);
        ProcessReaper::instance().adopt(pid, 60000);
        QVERIFY(ProcessReaper::instance().finishAll([] { return true; }));
        QVERIFY(!hurried.hasExpired());
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid));
    }

    // Output is gathered for a few milliseconds after a report; what arrives then is handed
    // on though the tool goes quiet. The controller deletes the running runner from inside
    // that report: the child is stopped and reaped and the end reported exactly once.
    void deletingARunningRunnerFromItsOwnReport() {
        auto runner = start({"/bin/sh", "-c", "echo one; /bin/true; echo two; exec sleep 60"});
        const qint64 pid = runner->processIdentifier();
        QEventLoop loop; // runs freely, so that the lines are read as they come
        connect(runner.get(), &QObject::destroyed, &loop, &QEventLoop::quit);
        recorder.onOutput = [&] {
            if (recorder.output() == "one\ntwo\n")
                runner.reset();
        };
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        recorder.onOutput = nullptr; // a runner still there ends with the function, not in a report
        QVERIFY(!runner);
        QVERIFY(QRegularExpression("^started( output)+ finished$").match(recorder.kinds.join(' ')).hasMatch());
        QTRY_VERIFY(ProcessCensus::state(pid).isNull());
    }

    // Input a tool never read is dropped with the tool: nothing keeps watching its pipe.
    void unreadInputEndsWithTheTool() {
        QTest::failOnWarning(QRegularExpression("QSocketNotifier"));
        auto runner = start({"/bin/sh", "-c", "echo started; exec sleep 30"}, QString(200 * 1024, u'x'));
        QTRY_COMPARE(recorder.output(), "started\n");
        runner->stopProcess();
        QTest::qWait(200);
        QCOMPARE(recorder.finishedCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTaskWrapper)
#include "test_taskwrapper.moc"
