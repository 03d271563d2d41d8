// quireon --batch as a user starts it from a terminal without a display: a real child
// process running the real pdflatex, judged by its output, summary line and exit code.
#include "app/singleinstance.h"
#include "documenttest.h"
#include "processcensus.h"

#include <QProcess>

#include <csignal>

using namespace DocumentTest;

static const QByteArray kClean = "\\documentclass{article}\n\\begin{document}\nSee \\ref{x}.\n"
                                 "\\section{A}\\label{x}\n\\end{document}\n";
// Two errors: after the first, TeX's prompt "? " and the next message share a line.
static const QByteArray kBroken = "\\documentclass{article}\n\\begin{document}\nText \\undefinedthing.\n"
                                  "More \\undefinedthing.\n\\end{document}\n";

class TestBatchMode : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    QTemporaryDir dir;

    // A batch run without a display, unless one is given for the single-instance check.
    void start(QProcess &batch, const QStringList &arguments, const QString &display = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
            env.remove(name);
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        batch.setProcessEnvironment(env);
        batch.setWorkingDirectory(dir.path());
        batch.start(QStringLiteral(QUIREON_BINARY_DIR "/src/quireon"), arguments);
        QVERIFY(batch.waitForStarted());
    }
    // Ends a run and gives its output, "" when it did not end normally with the code.
    QByteArray finished(QProcess &batch, int exitCode, int timeoutMs = 120000) {
        const bool ok = batch.waitForFinished(timeoutMs) && batch.exitStatus() == QProcess::NormalExit &&
                        batch.exitCode() == exitCode;
        return ok ? batch.readAllStandardOutput() : QByteArray();
    }

private slots:
    void initTestCase() {
        if (!QFileInfo::exists("/usr/bin/pdflatex"))
            QSKIP("pdflatex is not installed");
        Text::installTable();
        qputenv("DISPLAY", ":77");
        qunsetenv("WAYLAND_DISPLAY");
        writeFile(dir.filePath("clean.tex"), kClean);
        writeFile(dir.filePath("broken.tex"), kBroken);
        writeFile(dir.filePath("it's;ok.tex"), kClean);
        writeFile(dir.filePath("notes.txt"), kClean);
    }
    void init() {
        prefs = freshPrefs();
        setProcedure({1, -1, 1}); // pdflatex, open the PDF, pdflatex
        QFile::remove(dir.filePath("clean.aux"));
        QVERIFY(gQuireonPrefs->savePreferences());
    }

    void runsAndAnswers_data() {
        // commands: the prompt lines, in order; summary: the last line, "" for none;
        // display: where a Quireon runs that it must not hand over to.
        TestSupport::columns<QStringList, int, QStringList, QString, QString>(
            {"arguments", "exitCode", "commands", "summary", "display"});
        const QString pdflatex = "Quireon> /usr/bin/pdflatex -synctex=1 -cnf-line=max_print_line=10000 ";
        QTest::newRow("stored procedure, opens left out, beside a running Quireon")
            << QStringList{"--batch", "clean.tex"} << 0
            << QStringList{pdflatex + "clean", "Quireon> pdfLaTeX again: labels changed", pdflatex + "clean"}
            << "errors 0, warnings 3, notes 1, pages 1" << ":77";
        QTest::newRow("given commands, errors stop them")
            << QStringList{"--procedure", "1,2,1", "--batch", "clean.tex"} << 1
            << QStringList{pdflatex + "clean", "Quireon> BibTeX runs: clean.bbl is missing", "Quireon> /usr/bin/bibtex clean",
                           "Quireon> bibtex ended with exit status 2."}
            << "errors 3, warnings 3, notes 1, pages 1" << ""; // bibtex: no citations, data, style
        QTest::newRow("a root name a shell would take apart, shown quoted")
            << QStringList{"--batch", "it's;ok.tex"} << 0
            << QStringList{pdflatex + "'it'\\''s;ok'", "Quireon> pdfLaTeX again: labels changed", pdflatex + "'it'\\''s;ok'"}
            << "errors 0, warnings 3, notes 1, pages 1" << "";
        QTest::newRow("errors stop the stored procedure")
            << QStringList{"--batch", "broken.tex"} << 1
            << QStringList{pdflatex + "broken", "Quireon> pdflatex ended with exit status 1."}
            << "errors 3, warnings 0, notes 1, pages 0" << ""; // the second error quits: no pages
        QTest::newRow("a failure status stops them") // makeindex without an .idx exits 1
            << QStringList{"--batch", "--procedure", "1,3,1", "clean.tex"} << 1
            << QStringList{pdflatex + "clean", "Quireon> MakeIndex runs: clean.ind is missing", "Quireon> /usr/bin/makeindex clean",
                           "Quireon> makeindex ended with exit status 1."}
            << "errors 0, warnings 3, notes 1, pages 1" << "";
        QTest::newRow("missing file") << QStringList{"--batch", "my thesis; $(x) ü.tex"} << 2 << QStringList() << "" << "";
        QTest::newRow("wrong type") << QStringList{"--batch", "notes.txt"} << 2 << QStringList() << "" << "";
        QTest::newRow("command number out of range")
            << QStringList{"--batch", "--procedure", "1,6", "clean.tex"} << 2 << QStringList() << "" << "";
        QTest::newRow("procedure without batch")
            << QStringList{"--procedure", "1", "clean.tex"} << 2 << QStringList() << "" << "";
    }
    void runsAndAnswers() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, summary);
        QFETCH(QString, display);
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy requested(&running, &SingleInstance::filesRequested);
        QProcess batch;
        start(batch, arguments, display);
        QVERIFY(batch.waitForFinished(120000) && batch.exitStatus() == QProcess::NormalExit);
        QTEST(batch.exitCode(), "exitCode");
        const QStringList lines = QString::fromUtf8(batch.readAllStandardOutput()).split('\n');
        QTEST(lines.filter(QRegularExpression("^Quireon> ")), "commands");
        if (summary.isEmpty()) {
            QCOMPARE(lines, QStringList{""});
            QVERIFY(!batch.readAllStandardError().isEmpty());
        } else {
            QCOMPARE(lines.value(lines.size() - 2), summary);
            QVERIFY(lines.contains(QStringLiteral("Transcript written on %1.log.")
                                       .arg(QFileInfo(arguments.last()).baseName())));
        }
        QCOMPARE(requested.count(), 0);
    }

    void helpAndVersion() {
        QProcess batch;
        start(batch, {"--help"});
        QVERIFY(finished(batch, 0, 10000).contains("--procedure <numbers>"));
        start(batch, {"--version"});
        QVERIFY(finished(batch, 0, 10000).startsWith("quireon 0."));
    }

    // However a run ends, by a signal (Ctrl+C, kill, an SSH session that drops, Ctrl+\) or
    // on its own, no process of a tool's tree outlives it, one deaf to SIGTERM included.
    void noToolProcessOutlivesTheRun_data() {
        // signal: 0 lets the run end on its own.
        TestSupport::columns<QString, int, int>({"command", "signal", "exitCode"});
        const QString hangs = TestSupport::fixture("hangs_with_child.sh");
        const QString deaf = TestSupport::fixture("deaf_tree.sh") + " %1";
        QTest::newRow("Ctrl+C") << hangs << SIGINT << 130;
        QTest::newRow("kill") << hangs << SIGTERM << 143;
        QTest::newRow("hang-up, tool deaf to SIGTERM") << deaf << SIGHUP << 129;
        QTest::newRow("quit key") << hangs << SIGQUIT << 131;
        // The tool closed its output and runs on: the run ends, and Quireon waits for it.
        QTest::newRow("own end, deaf tool left running") << deaf + " quiet" << 0 << 0;
    }
    void noToolProcessOutlivesTheRun() {
        QFETCH(QString, command);
        QFETCH(int, signal);
        setCommand(0, command);
        QVERIFY(gQuireonPrefs->savePreferences());
        QProcess batch;
        start(batch, {"--batch", "clean.tex"});
        const auto line = [&batch] {
            return QTest::qWaitFor([&] { return batch.canReadLine(); }, 10000) ? batch.readLine() : QByteArray();
        };
        QVERIFY(line().startsWith("Quireon> "));
        const QByteArray child = line().trimmed().mid(6);
        QVERIFY(child.toInt() > 0);
        if (signal != 0)
            ::kill(pid_t(batch.processId()), signal);
        QFETCH(int, exitCode);
        QVERIFY(finished(batch, exitCode, 15000).endsWith("pages 0\n"));
        QTRY_VERIFY(!QFileInfo::exists("/proc/" + child));
        QVERIFY(ProcessCensus::children().isEmpty());
    }

    // Output that goes nowhere, a reader that quit early (`| head -1`) or a full disk, is a
    // failure: the tool is stopped, and the procedure's later steps never run.
    void lostOutputStopsTheRun_data() {
        TestSupport::columns<QString, int>({"output", "exitCode"});
        QTest::newRow("reader quit") << "head" << 141;
        QTest::newRow("full disk") << "/dev/full" << 3;
    }
    void lostOutputStopsTheRun() {
        QFETCH(QString, output);
        setCommand(0, TestSupport::fixture("deaf_tree.sh") + " %1");
        setCommand(1, TestSupport::fixture("count_run.sh") + " %1");
        QVERIFY(gQuireonPrefs->savePreferences());
        for (const char *name : {"clean.group", "clean.runs"})
            QFile::remove(dir.filePath(name));
        QProcess batch, head;
        if (output == "head")
            batch.setStandardOutputProcess(&head);
        else
            batch.setStandardOutputFile(output);
        start(batch, {"--batch", "--procedure", "1,2", "clean.tex"});
        if (output == "head")
            head.start("/usr/bin/head", {"-1"});
        QVERIFY(batch.waitForFinished(15000) && batch.exitStatus() == QProcess::NormalExit);
        QTEST(batch.exitCode(), "exitCode");
        QVERIFY(!batch.readAllStandardError().isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath("clean.runs")));
        // A tool stopped before it could ignore SIGTERM has written no group.
        QFile group(dir.filePath("clean.group"));
        if (output == "head" || group.exists()) {
            QVERIFY(group.open(QIODevice::ReadOnly));
            const qint64 id = group.readAll().trimmed().toLongLong();
            QVERIFY(id > 0);
            QTRY_VERIFY(!ProcessCensus::groupAlive(id));
        }
    }
};

QTEST_MAIN(TestBatchMode)
#include "test_batch_mode.moc"
