// The process runner against small fake tools: order of reports, launch failures,
// argument passing, input, decoding, stopping and cleaning up the process group.
#include "process/taskwrapper.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {
class Recorder : public TaskWrapperController
{
public:
    QStringList kinds;
    QStringList outputs;
    QList<QStringList> argumentLists;
    std::function<void()> onOutput;
    std::function<void()> onFinished;

    void processStarted(const QStringList &arguments) override
    {
        kinds << "started";
        argumentLists << arguments;
    }
    void appendOutput(const QString &output) override
    {
        kinds << "output";
        outputs << output;
        if (onOutput)
            onOutput();
    }
    void processFinished(const QStringList &arguments) override
    {
        kinds << "finished";
        argumentLists << arguments;
        if (onFinished)
            onFinished();
    }
    QString output() const { return outputs.join(QString()); }
    int finishedCount() const { return int(kinds.count("finished")); }
};

// The fields of /proc/PID/stat after the command name: state, ppid, pgrp, ...
QStringList procStat(const QString &pid)
{
    QFile file("/proc/" + pid + "/stat");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    return QString::fromLatin1(stat.mid(stat.lastIndexOf(')') + 2)).split(' ');
}

QChar processState(qint64 pid)
{
    const QStringList fields = procStat(QString::number(pid));
    return fields.isEmpty() ? QChar() : fields[0].at(0);
}

// Whether any process of the group still runs; zombies whose parent is gone do not count.
bool groupAlive(qint64 pgid)
{
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QStringList fields = entry.toLongLong() > 0 ? procStat(entry) : QStringList();
        if (fields.size() > 2 && fields[2].toLongLong() == pgid && fields[0] != "Z")
            return true;
    }
    return false;
}

QString latexLikeOutput()
{
    return "This is pdfTeX, Version 3.141592653 (TeX Live 2022/Debian) (preloaded "
           "format=pdflatex)\n"
           "(./paper.tex\nLaTeX2e <2022-11-01>\n! Undefined control sequence.\nl.12 \\foo\n"
           "LaTeX Warning: Reference `intro' on page 1 undefined on input line 14.\n"
           "Overfull \\hbox (1.5pt too wide) in paragraph at lines 20--21\n[1] [2] [3] )\n"
           "Output written on paper.pdf (3 pages, 12345 bytes).\n";
}
} // namespace

class TestTaskWrapper : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    std::unique_ptr<TaskWrapper> start(Recorder &recorder, const QStringList &arguments,
                                       const QString &input = {},
                                       quint32 encoding = LogEncoding::Utf8Mib)
    {
        auto runner =
            std::make_unique<TaskWrapper>(&recorder, arguments, m_dir.path(), input, encoding);
        [&] { QVERIFY(runner->startProcess()); }();
        return runner;
    }

    static QString tool(const char *name) { return TestSupport::fixture(name); }

    // How long stopProcess() held the event loop, in milliseconds.
    static qint64 timedStop(TaskWrapper &runner)
    {
        QElapsedTimer stopping;
        stopping.start();
        runner.stopProcess();
        return stopping.elapsed();
    }

private slots:
    void initTestCase()
    {
        Text::installTable();
        QVERIFY(m_dir.isValid());
    }
    void init() { TestSupport::freshSettings(); }

    void reportsComeInOrderAndTheChildIsReaped()
    {
        Recorder recorder;
        const QStringList arguments{tool("latex_like.sh"), "paper"};
        auto runner = start(recorder, arguments);
        const qint64 pid = runner->processIdentifier();
        QVERIFY(pid > 0);
        QCOMPARE(recorder.kinds.first(), "started");
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.kinds.last(), "finished");
        QCOMPARE(recorder.kinds.count("output"), recorder.kinds.size() - 2);
        QVERIFY(!recorder.outputs.contains(QString()));
        QCOMPARE(recorder.argumentLists, QList<QStringList>({arguments, arguments}));
        QCOMPARE(recorder.output(), latexLikeOutput());

        QTRY_VERIFY(processState(pid).isNull()); // reaped, not left as a zombie
        QVERIFY(!runner->isRunning());
        QCOMPARE(runner->terminationStatus(), 0);

        const int reports = int(recorder.kinds.size());
        runner->stopProcess();
        runner->stopProcess();
        runner.reset();
        QCOMPARE(recorder.kinds.size(), reports);
    }

    void launchFailure_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("workingDir");
        const QString here = QDir::tempPath();
        QTest::newRow("missing program") << QStringList{"/nonexistent/tool", "-x"} << here;
        QTest::newRow("empty path") << QStringList{"", "arg"} << here;
        QTest::newRow("no command at all") << QStringList{} << here;
        QTest::newRow("a folder") << QStringList{"/usr"} << here;
        QTest::newRow("bare name, no PATH search") << QStringList{"sh", "-c", "true"} << here;
        QTest::newRow("missing working folder")
            << QStringList{tool("print_args.sh")} << QStringLiteral("/nonexistent/folder");
    }

    void launchFailure()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, workingDir);
        Recorder recorder;
        auto runner = std::make_unique<TaskWrapper>(&recorder, arguments, workingDir, "x\n",
                                                    LogEncoding::Utf8Mib);
        QVERIFY(!runner->startProcess());
        QCOMPARE(recorder.kinds, QStringList({"started", "output"}));
        const QString path = arguments.value(0);
        QCOMPARE(recorder.outputs.first(), Text::format("LaunchError", {path}));
        QVERIFY(recorder.outputs.first().contains(path));
        QVERIFY(recorder.outputs.first().endsWith('\n'));
        QVERIFY(!runner->isRunning());
        QCOMPARE(runner->processIdentifier(), -1);

        runner->stopProcess();
        QCOMPARE(recorder.kinds, QStringList({"started", "output", "finished"}));
        runner->stopProcess();
        runner.reset();
        QCOMPARE(recorder.finishedCount(), 1);
    }

    void launchFailureOfAFileThatIsNotExecutable()
    {
        const QString path = m_dir.filePath("plain.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho should not run\n");
        file.close();
        Recorder recorder;
        TaskWrapper runner(&recorder, {path}, m_dir.path(), {}, LogEncoding::Utf8Mib);
        QVERIFY(!runner.startProcess());
        QCOMPARE(recorder.output(), Text::format("LaunchError", {path}));
    }

    void argumentsArePassedUnchangedWithoutAShell()
    {
        const QStringList extra{"",
                                "a b",
                                "\"quoted\"",
                                "'single'",
                                "x;y",
                                "$HOME",
                                "*",
                                "$(touch pwned)",
                                "`touch pwned2`",
                                "é ü",
                                "a\\b",
                                "  two  spaces  "};
        Recorder recorder;
        auto runner = start(recorder, QStringList{tool("print_args.sh")} + extra);
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QString expected = "cwd=" + QDir(m_dir.path()).canonicalPath() + "\nargc=12\n";
        for (const QString &argument : extra)
            expected += '[' + argument + "]\n";
        QCOMPARE(recorder.output(), expected);
        QVERIFY(!QFile::exists(m_dir.filePath("pwned")));
        QVERIFY(!QFile::exists(m_dir.filePath("pwned2")));
    }

    void singleElementCommandGetsNoArguments()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("print_args.sh")});
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QVERIFY(recorder.output().endsWith("\nargc=0\n"));
    }

    void standardErrorJoinsStandardOutputInOrder()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("stderr_stdout.sh")});
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), "out 1\nerr 1\nout 2\nerr 2\nout 3\nerr 3\n");
    }

    void outputWithoutFinalNewlineAndExitStatus()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("no_final_newline.sh")});
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), "first line\nlast line without newline");
        QTRY_COMPARE(runner->terminationStatus(), 7);
    }

    void inputIsAsciiAndStandardInputStaysOpen()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("reads_more_input.sh")},
                            QString::fromUtf8("h\u00e9llo \U0001F600!\n"));
        const qint64 pid = runner->processIdentifier();
        QTRY_COMPARE(recorder.output(), "got: h?llo ?!\n");
        // Waiting for a second line rather than seeing the input end.
        QTRY_COMPARE(processState(pid), QChar('S'));
        QVERIFY(runner->isRunning());
        QCOMPARE(recorder.finishedCount(), 0);

        const qint64 elapsed = timedStop(*runner);
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        QCOMPARE(recorder.finishedCount(), 1);
        QVERIFY(!recorder.output().contains("input closed"));
        QTRY_VERIFY(processState(pid).isNull());
        QCOMPARE(runner->terminationStatus(), SIGTERM);
    }

    void longInputArrivesWholeWithoutBlocking()
    {
        QString input;
        for (int i = 0; input.size() < 200 * 1024; ++i)
            input +=
                QStringLiteral("line %1 of a long input text that does not fit the pipe\n").arg(i);
        Recorder recorder;
        QElapsedTimer starting;
        starting.start();
        auto runner = start(recorder, {tool("echo_input.sh")}, input);
        QVERIFY(starting.elapsed() < 1000);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.output().size(), input.size(), 20000);
        QCOMPARE(recorder.output(), input);
        QVERIFY(runner->isRunning());
        runner->stopProcess();
        QCOMPARE(recorder.finishedCount(), 1);
    }

    void childThatClosesItsOutputEndsTheRunAndIsTerminated()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("closes_output.sh")});
        const qint64 pid = runner->processIdentifier();
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), "closing output\n");
        QTRY_VERIFY(!groupAlive(pid));
        QTRY_COMPARE(runner->terminationStatus(), SIGTERM);
        QVERIFY(!runner->isRunning());
    }

    void stopOfAToolThatIgnoresTerminateIsBounded()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("ignores_term.sh")});
        const qint64 pid = runner->processIdentifier();
        QTRY_COMPARE(recorder.output(), "ignoring TERM\n");
        const qint64 elapsed = timedStop(*runner);
        QVERIFY2(elapsed < TaskWrapper::kTerminateGraceMs + TaskWrapper::kKillGraceMs + 500,
                 qPrintable(QString::number(elapsed)));
        QCOMPARE(recorder.finishedCount(), 1);
        QTRY_VERIFY(!groupAlive(pid));
        QTRY_COMPARE(runner->terminationStatus(), SIGKILL);
    }

    void stopReturnsWhileTheChildFloodsItsOutput_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("yes") << "/usr/bin/yes";
        QTest::newRow("yes ignoring TERM") << tool("floods_ignoring_term.sh");
    }
    void stopReturnsWhileTheChildFloodsItsOutput()
    {
        QFETCH(QString, program);
        Recorder recorder;
        recorder.onOutput = [&] { recorder.outputs.clear(); };
        auto runner = start(recorder, {program});
        QTRY_VERIFY(recorder.kinds.size() > 10);
        const qint64 elapsed = timedStop(*runner);
        QVERIFY2(elapsed < TaskWrapper::kTerminateGraceMs + TaskWrapper::kKillGraceMs + 1000,
                 qPrintable(QString::number(elapsed)));
        QCOMPARE(recorder.finishedCount(), 1);
    }

    void stopEndsAProgramThatHoldsThePipeAfterTheChildExited()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("leaves_grandchild.sh")});
        const qint64 pid = runner->processIdentifier();
        QTRY_VERIFY(recorder.output().endsWith("parent exits\n"));
        QTRY_VERIFY(!runner->isRunning());
        QCOMPARE(runner->terminationStatus(), 0);
        QVERIFY(groupAlive(pid)); // the background sleep still holds the output
        QCOMPARE(recorder.finishedCount(), 0);

        const qint64 elapsed = timedStop(*runner);
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        QCOMPARE(recorder.finishedCount(), 1);
        QTRY_VERIFY(!groupAlive(pid));
        QTRY_VERIFY(processState(pid).isNull());
        QVERIFY(!recorder.output().contains("late output"));
    }

    void invalidBytesAndSplitCharacters_data()
    {
        QTest::addColumn<uint>("encoding");
        QTest::addColumn<QString>("expected");
        QTest::newRow("UTF-8") << uint(LogEncoding::Utf8Mib)
                               << QString::fromUtf8("bad:\uFFFD\uFFFD:ok\nsplit:\u00e9:done\n");
        QTest::newRow("Latin 1") << 4u
                                 << QString::fromUtf8(
                                        "bad:\u00ff\u00fe:ok\nsplit:\u00c3\u00a9:done\n");
    }

    void invalidBytesAndSplitCharacters()
    {
        QFETCH(uint, encoding);
        QFETCH(QString, expected);
        Recorder recorder;
        auto runner = start(recorder, {tool("bad_utf8.sh")}, {}, encoding);
        QTRY_COMPARE(recorder.finishedCount(), 1);
        QCOMPARE(recorder.output(), expected);
        QVERIFY(recorder.outputs.size() >= 2); // the sleep splits the character between reads
    }

    void controllerMayStartTheNextRunnerWhenOneFinishes()
    {
        Recorder recorder;
        std::unique_ptr<TaskWrapper> second;
        recorder.onFinished = [&] {
            if (!second)
                second = start(recorder, {tool("print_args.sh"), "next"});
        };
        auto first = start(recorder, {tool("stderr_stdout.sh")});
        QTRY_COMPARE(recorder.finishedCount(), 2);
        QCOMPARE(recorder.kinds.count("started"), 2);
        QVERIFY(recorder.output().endsWith("argc=1\n[next]\n"));
        first.reset();
        second.reset();
        QCOMPARE(recorder.finishedCount(), 2);
    }

    void deletingARunningRunnerStopsItAndReportsTheEnd()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("reads_more_input.sh")}, "one\n");
        const qint64 pid = runner->processIdentifier();
        QTRY_COMPARE(recorder.output(), "got: one\n");
        runner.reset();
        QCOMPARE(recorder.kinds.last(), "finished");
        QCOMPARE(recorder.finishedCount(), 1);
        QTRY_VERIFY(processState(pid).isNull());
    }

    void controllerMayDeleteTheRunnerWhileItReportsOutput()
    {
        Recorder recorder;
        auto runner = start(recorder, {tool("reads_more_input.sh")}, "one\n");
        const qint64 pid = runner->processIdentifier();
        recorder.onOutput = [&] { runner.reset(); };
        QTRY_VERIFY(!runner);
        QCOMPARE(recorder.kinds, QStringList({"started", "output", "finished"}));
        QTRY_VERIFY(processState(pid).isNull());
    }
};

QTEST_GUILESS_MAIN(TestTaskWrapper)
#include "test_taskwrapper.moc"
