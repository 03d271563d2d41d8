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
class Recorder : public TaskWrapperController {
public:
    QStringList kinds;
    QStringList outputs;
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
        auto runner =
            std::make_unique<TaskWrapper>(&recorder, arguments, m_dir.path(), input, encoding);
        [&] { QVERIFY(runner->startProcess()); }();
        return runner;
    }

    static QString tool(const char *name) { return TestSupport::fixture(name); }

    // Whether stopProcess() gave the event loop back within ms milliseconds.
    static bool stopsWithin(TaskWrapper &runner, qint64 ms) {
        const QDeadlineTimer deadline(ms);
        runner.stopProcess();
        return !deadline.hasExpired();
    }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() { recorder = Recorder(); }

    void launchFailureReportsTheErrorAndOneEnd_data() {
        TestSupport::columns<QStringList, QString>({"arguments", "workingDir"});
        const QString here = QDir::tempPath();
        QTest::newRow("missing program") << QStringList{"/nonexistent/tool", "-x"} << here;
        QTest::newRow("empty path") << QStringList{"", "arg"} << here;
        QTest::newRow("no command at all") << QStringList{} << here;
        QTest::newRow("a folder") << QStringList{"/usr"} << here;
        QTest::newRow("bare name, no PATH search") << QStringList{"sh", "-c", "true"} << here;
        QTest::newRow("missing working folder")
            << QStringList{tool("print_args.sh")} << QStringLiteral("/nonexistent/folder");
        const QString plain = m_dir.filePath("plain.txt"); // a script without the x bit
        QVERIFY(TestSupport::writeFile(plain, "#!/bin/sh\necho should not run\n"));
        QTest::newRow("not executable") << QStringList{plain} << m_dir.path();
    }

    void launchFailureReportsTheErrorAndOneEnd() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, workingDir);
        auto runner = std::make_unique<TaskWrapper>(&recorder, arguments, workingDir, "x\n",
                                                    LogEncoding::Utf8Mib);
        QVERIFY(!runner->startProcess());
        QCOMPARE(recorder.kinds, QStringList({"started", "output"}));
        QCOMPARE(recorder.outputs.first(), Text::format("LaunchError", {arguments.value(0)}));
        QVERIFY(!runner->isRunning() && runner->processIdentifier() == -1);
        runner->stopProcess();
        runner->stopProcess();
        runner.reset(); // the end is reported once
        QCOMPARE(recorder.kinds, QStringList({"started", "output", "finished"}));
    }

    // Reports come in order and the child is reaped; arguments reach the program unchanged
    // and without a shell; both streams arrive in order; an unfinished last line is kept;
    // a child that closes its output ends the run and is terminated with its group; bytes
    // are decoded in the chosen encoding, a character split between two reads included.
    void outputArrivesInOrderAndTheChildIsReaped_data() {
        TestSupport::columns<QStringList, QString, int, uint>(
            {"arguments", "expected", "status", "encoding"});
        const uint utf8 = LogEncoding::Utf8Mib;
        const QStringList extra =
            QStringLiteral("|a b|\"quoted\"|'single'|x;y|$HOME|*|$(touch pwned)|"
                           "`touch pwned2`|é ü|a\\b|  two  spaces  ")
                .split('|');
        QString printed = "cwd=" + QDir(m_dir.path()).canonicalPath() + "\nargc=12\n";
        for (const QString &argument : extra)
            printed += '[' + argument + "]\n";
        QTest::newRow("hostile arguments")
            << QStringList{tool("print_args.sh")} + extra << printed << 0 << utf8;
        QTest::newRow("standard error joins output") << QStringList{tool("stderr_stdout.sh")}
            << "out 1\nerr 1\nout 2\nerr 2\nout 3\nerr 3\n" << 0 << utf8;
        QTest::newRow("no final newline, exit 7") << QStringList{tool("no_final_newline.sh")}
            << "first line\nlast line without newline" << 7 << utf8;
        QTest::newRow("closes its output, terminated") << QStringList{tool("closes_output.sh")}
            << "closing output\n" << SIGTERM << utf8;
        QTest::newRow("invalid and split UTF-8") << QStringList{tool("bad_utf8.sh")}
            << QStringLiteral("bad:\uFFFD\uFFFD:ok\nsplit:\u00e9:done\n") << 0 << utf8;
        QTest::newRow("Latin 1") << QStringList{tool("bad_utf8.sh")}
            << QStringLiteral("bad:ÿþ:ok\nsplit:Ã©:done\n") << 0 << 4u;
    }
    void outputArrivesInOrderAndTheChildIsReaped() {
        QFETCH(QStringList, arguments);
        QFETCH(uint, encoding);
        auto runner = start(arguments, {}, encoding);
        const qint64 pid = runner->processIdentifier();
        QVERIFY(pid > 0);
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QTEST(recorder.output(), "expected");
        QCOMPARE(recorder.kinds.first() + recorder.kinds.last(), "startedfinished");
        QCOMPARE(recorder.kinds.count("output"), recorder.kinds.size() - 2);
        QVERIFY(!recorder.outputs.contains(QString()));
        QCOMPARE(recorder.argumentLists, QList<QStringList>({arguments, arguments}));
        QTRY_VERIFY(ProcessCensus::state(pid).isNull()); // reaped, not left as a zombie
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid));
        QVERIFY(!runner->isRunning());
        QFETCH(int, status);
        QTRY_COMPARE(runner->terminationStatus(), status);
        runner->stopProcess(); // after the end: no second report
        runner.reset();
        QCOMPARE(recorder.finishedCount(), 1);
        QVERIFY(!QDir(m_dir.path()).entryList().join(' ').contains("pwned"));
    }

    void inputIsAsciiAndStandardInputStaysOpen() {
        auto runner = start({tool("reads_more_input.sh")},
                            QString::fromUtf8("h\u00e9llo \u0080\U0001F600!\n"));
        const qint64 pid = runner->processIdentifier();
        QTRY_COMPARE(recorder.output(), "got: h?llo ?\?!\n"); // one ? per character
        // Waiting for a second line rather than seeing the input end.
        QTRY_COMPARE(ProcessCensus::state(pid), QChar('S'));
        QVERIFY(runner->isRunning() && recorder.finishedCount() == 0);
        QVERIFY(stopsWithin(*runner, 1000));
        QCOMPARE(recorder.finishedCount(), 1);
        QVERIFY(!recorder.output().contains("input closed"));
        QTRY_VERIFY(ProcessCensus::state(pid).isNull());
        QCOMPARE(runner->terminationStatus(), SIGTERM);
    }

    void longInputArrivesWholeWithoutBlocking() {
        QString input;
        for (int i = 0; input.size() < 200 * 1024; ++i)
            input += QStringLiteral("line %1 of a long input that does not fit the pipe\n").arg(i);
        QElapsedTimer starting;
        starting.start();
        auto runner = start({tool("echo_input.sh")}, input);
        QVERIFY(starting.elapsed() < 1000);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.output().size(), input.size(), 20000);
        QCOMPARE(recorder.output(), input);
    }

    // Stopping returns within the grace periods even from a tool that ignores the terminate
    // signal or floods its output; the whole process group ends.
    void stopEndsStubbornToolsWithinTheGraceTimes_data() {
        // signal: how the tool ended; 0: not checked
        TestSupport::columns<QString, int, int>({"program", "slackMs", "signal"});
        QTest::newRow("ignores TERM") << tool("ignores_term.sh") << 500 << SIGKILL;
        QTest::newRow("floods, ignoring TERM") << tool("floods_ignoring_term.sh") << 1000 << 0;
    }
    void stopEndsStubbornToolsWithinTheGraceTimes() {
        QFETCH(QString, program);
        QFETCH(int, slackMs);
        QFETCH(int, signal);
        recorder.onOutput = [&] { recorder.outputs.clear(); };
        auto runner = start({program});
        const qint64 pid = runner->processIdentifier();
        QTRY_VERIFY(recorder.kinds.contains("output"));
        QVERIFY(stopsWithin(*runner,
                            TaskWrapper::kTerminateGraceMs + TaskWrapper::kKillGraceMs + slackMs));
        QCOMPARE(recorder.finishedCount(), 1);
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid));
        if (signal)
            QTRY_COMPARE(runner->terminationStatus(), signal);
    }

    void stopEndsAProgramThatHoldsThePipeAfterTheChildExited() {
        auto runner = start({tool("leaves_grandchild.sh")});
        const qint64 pid = runner->processIdentifier();
        QTRY_VERIFY(recorder.output().endsWith("parent exits\n"));
        QTRY_VERIFY(!runner->isRunning());
        QCOMPARE(runner->terminationStatus(), 0);
        // The background sleep still holds the output: the run is not over.
        QVERIFY(ProcessCensus::groupAlive(pid) && recorder.finishedCount() == 0);
        QVERIFY(stopsWithin(*runner, 1000));
        QCOMPARE(recorder.finishedCount(), 1);
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid));
        QTRY_VERIFY(ProcessCensus::state(pid).isNull());
        QVERIFY(!recorder.output().contains("late output"));
    }

    // On the way out, a child the reaper holds with a long grace is killed at once once the
    // caller is in a hurry (a second signal), not when its grace ends.
    void theWayOutKillsWhatTheReaperHoldsInAHurry() {
        ChildProcess child;
        QCOMPARE(child.spawn({tool("ignores_term.sh")}, m_dir.path()), 0);
        const qint64 pid = child.pid();
        ProcessReaper &reaper = ProcessReaper::instance();
        reaper.adopt(child.release(), 60000);
        QElapsedTimer waited;
        waited.start();
        QVERIFY(reaper.finishAll([] { return true; }));
        QVERIFY(waited.elapsed() < 30000);
        QCOMPARE(reaper.pendingCount(), 0);
        QTRY_VERIFY(!ProcessCensus::groupAlive(pid));
    }

    // The controller deletes the running runner from inside its output report: the child is
    // stopped and reaped and the end reported exactly once.
    // Output is gathered for a few milliseconds after a report; what arrives then is handed
    // on even though the tool goes quiet for long, and a burst of lines arrives whole.
    void gatheredOutputIsNotHeldBack() {
        const QString script = QStringLiteral(
            "echo one; /bin/true; echo two; /bin/sleep 2; "
            "i=0; while [ $i -lt 1000 ]; do echo $i; i=$((i+1)); done; exec sleep 60");
        auto runner = start({"/bin/sh", "-c", script});
        QString expected = "one\ntwo\n";
        // The event loop runs freely, so that the lines are read as they come.
        QEventLoop loop;
        recorder.onOutput = [&] {
            if (recorder.output() == expected)
                loop.quit();
        };
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(recorder.output(), expected);
        for (int i = 0; i < 1000; ++i)
            expected += QString::number(i) + '\n';
        QTRY_COMPARE(recorder.output(), expected);
        QVERIFY(runner->isRunning());
        QVERIFY(stopsWithin(*runner, 3000));
        QCOMPARE(recorder.kinds.last(), "finished");
    }

    void deletingARunningRunnerFromItsOwnReport() {
        auto runner = start({tool("reads_more_input.sh")}, "one\n");
        const qint64 pid = runner->processIdentifier();
        recorder.onOutput = [&] { runner.reset(); };
        QTRY_VERIFY(!runner);
        QCOMPARE(recorder.output(), "got: one\n");
        QCOMPARE(recorder.kinds, QStringList({"started", "output", "finished"}));
        QTRY_VERIFY(ProcessCensus::state(pid).isNull());
    }

    // A character split across two writes is handed on whole, once complete: the
    // controller is never woken for an empty piece of text.
    void aSplitCharacterWaitsForItsEnd() {
        auto runner = start({"/bin/sh", "-c", "printf '\\303'; sleep 0.3; printf '\\251\\n'"});
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), QString::fromUtf8("\u00e9\n"));
        QVERIFY(!recorder.outputs.contains(QString()));
    }

    // Input a tool never read is dropped with the tool: nothing keeps watching its pipe.
    void unreadInputEndsWithTheTool() {
        QTest::failOnWarning(QRegularExpression("QSocketNotifier"));
        auto runner = start({"/bin/sh", "-c", "echo started; exec sleep 30"}, QString(200 * 1024, u'x'));
        QTRY_COMPARE(recorder.output(), "started\n");
        QVERIFY(stopsWithin(*runner, 3000));
        QTest::qWait(200);
        QCOMPARE(recorder.finishedCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTaskWrapper)
#include "test_taskwrapper.moc"
