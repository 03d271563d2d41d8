// quireon --batch as a user starts it from a terminal without a display: a real child
// process running the real pdflatex, judged by its output, summary line and exit code.
#include "app/singleinstance.h"
#include "documenttest.h"
#include "processcensus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

    // Several roots build side by side, never more at once than the jobs allow. Each log is
    // one block that ends with its root's summary; a failing root leaves the others alone,
    // and the exit status is the worst of them.
    void severalRootsBuildSideBySide_data() {
        // overlap: the first three events of builds.log, sorted where builds start together.
        TestSupport::columns<QString, QString>({"jobs", "overlap"});
        QTest::newRow("two jobs") << "2" << "start r1,start r2,end";
        QTest::newRow("one job") << "1" << "start r1,end r1,start r2";
    }
    void severalRootsBuildSideBySide() {
        QFETCH(QString, jobs);
        setCommand(0, TestSupport::fixture("paced_lines.sh") + " %1");
        QVERIFY(gQuireonPrefs->savePreferences());
        QFile::remove(dir.filePath("builds.log"));
        for (const char *name : {"r1.tex", "r2.tex", "r3.tex", "r2.fail"})
            writeFile(dir.filePath(name));
        QProcess batch;
        start(batch, {"--batch", "--procedure", "1", "-j", jobs, "r1.tex", "r2.tex", "r3.tex"});
        const QStringList lines = QString::fromUtf8(finished(batch, 1, 20000)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3 * 7 + 1 + 1); // r2's error line too
        QStringList ended;
        for (qsizetype at = 0; ended.size() < 3; at += 7) {
            const QString root = lines[at].section(' ', -1); // the prompt line names it
            for (int n = 1; n <= 5; ++n)
                QCOMPARE(lines[at + n], root + ": line " + QString::number(n));
            const bool fails = root == "r2";
            if (fails)
                QCOMPARE(lines[++at + 5], QStringLiteral("! r2 failed."));
            QCOMPARE(lines[at + 6], root + (fails ? ".tex: errors 1" : ".tex: errors 0") + ", warnings 0, notes 0, pages 0");
            ended << root;
        }
        ended.sort();
        QCOMPARE(ended, (QStringList{"r1", "r2", "r3"}));
        QVERIFY(lines.last().startsWith("3 files: 2 built, 1 failed; errors 1"));
        // The third build starts only once one of the first two has ended.
        QFile log(dir.filePath("builds.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList events = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
        QFETCH(QString, overlap);
        QStringList first = events.mid(0, 3);
        if (jobs == "2") // the two builds start at once, in either order
            std::sort(first.begin(), first.begin() + 2);
        const QStringList expected = overlap.split(',');
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(first.value(i).startsWith(expected[i]), qPrintable(events.join(',')));
        QCOMPARE(events.indexOf(QRegularExpression("^start r3")) > events.indexOf(QRegularExpression("^end ")), true);
    }

    // The window and a batch run read the same tool output alike: one recorded real log
    // gives the same counts and page number through both.
    void bothFacesCountAlike() {
        setCommand(0, TestSupport::fixture("replay.sh") + " " + QUIREON_TESTDATA "/engine/thesis-pdflatex.out");
        QVERIFY(gQuireonPrefs->savePreferences());
        QProcess batch;
        start(batch, {"--batch", "--procedure=1", "clean.tex"});
        const QStringList lines = QString::fromUtf8(finished(batch, 1, 20000)).split('\n', Qt::SkipEmptyParts);
        MyDocument document;
        document.setFileName(dir.filePath("clean.tex"));
        QVERIFY(runCommand(document, 0));
        const QString window = QStringLiteral("errors %1, warnings %2, notes %3, pages %4")
                                   .arg(fieldText(document, "textNumErrors"), fieldText(document, "textNumWarnings"),
                                        fieldText(document, "textNumNotes"), fieldText(document, "textNumPages"));
        QCOMPARE(lines.last(), window);
        QVERIFY(window.startsWith("errors 1, ") && window.endsWith(", pages 6")); // as the log reads
    }

    // Ctrl+C during several builds stops every tool tree before Quireon ends.
    void aSignalStopsEveryRoot() {
        setCommand(0, TestSupport::fixture("tells_pid_and_hangs.sh") + " %1");
        QVERIFY(gQuireonPrefs->savePreferences());
        for (const char *name : {"h1.tex", "h2.tex", "h3.tex"})
            writeFile(dir.filePath(name));
        for (const char *name : {"h1.pid", "h2.pid", "h3.pid"})
            QFile::remove(dir.filePath(name));
        QProcess batch;
        start(batch, {"--batch", "--jobs=2", "--procedure=1", "h1.tex", "h2.tex", "h3.tex"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath("h1.pid")) && QFileInfo::exists(dir.filePath("h2.pid")), 10000);
        ::kill(pid_t(batch.processId()), SIGINT);
        QVERIFY(!finished(batch, 130, 15000).isEmpty());
        for (const char *name : {"h1.pid", "h2.pid"}) {
            QFile pid(dir.filePath(name));
            QVERIFY(pid.open(QIODevice::ReadOnly));
            const qint64 group = pid.readAll().trimmed().toLongLong();
            QVERIFY(group > 0);
            QTRY_VERIFY(!ProcessCensus::groupAlive(group));
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("h3.pid"))); // the waiting root never started
    }

    // A root named twice, under another name too, or two roots whose outputs would meet,
    // are refused before anything runs.
    void clashingRootsAreRefused_data() {
        TestSupport::columns<QStringList, QString>({"arguments", "command"});
        QTest::newRow("same file twice") << QStringList{"clean.tex", "./clean.tex"} << "";
        QTest::newRow("a link to it") << QStringList{"clean.tex", "link.tex"} << "";
        QTest::newRow("same job name") << QStringList{"clean.tex", "broken.tex"} << "/usr/bin/pdflatex -jobname=out %1";
    }
    void clashingRootsAreRefused() {
        QFETCH(QString, command);
        if (!command.isEmpty())
            setCommand(0, command);
        QVERIFY(gQuireonPrefs->savePreferences());
        QFile::link(dir.filePath("clean.tex"), dir.filePath("link.tex"));
        QFile::remove(dir.filePath("clean.log"));
        QFETCH(QStringList, arguments);
        QProcess batch;
        start(batch, QStringList{"--batch"} + arguments);
        QVERIFY(batch.waitForFinished(10000));
        QCOMPARE(batch.exitCode(), 2);
        QCOMPARE(batch.readAllStandardOutput(), QByteArray());
        QVERIFY(!QFileInfo::exists(dir.filePath("clean.log")));
    }

    // The reports: annotations GitHub places on the source lines, after the log, and a JSON
    // account of the steps, their reasons and endings, and the problems with their places.
    void reportsForCi() {
        QDir(dir.path()).mkpath("ch");
        writeFile(dir.filePath("ch/one.tex"), "Chapter text \\undefinedmacro here.\n");
        writeFile(dir.filePath("cites.tex"), "\\documentclass{article}\n\\begin{document}\nSee \\ref{x}.\n"
                                             "\\input{ch/one}\n\\end{document}\n");
        writeFile(dir.filePath("plain.tex"), "\\documentclass{article}\n\\begin{document}\nPlain.\n\\end{document}\n");
        const QStringList arguments{"--batch", "--procedure=1,1,1", "--report", "github", "--report", "json=out/report.json",
                                    "cites.tex", "plain.tex"};
        QProcess batch;
        start(batch, arguments);
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 2); // the report's folder is missing: nothing runs
        QVERIFY(QDir(dir.path()).mkdir("out"));
        start(batch, arguments);
        const QStringList lines = QString::fromUtf8(finished(batch, 1, 60000)).split('\n');
        QCOMPARE(lines.filter(QRegularExpression("^::")),
                 (QStringList{"::warning file=cites.tex,line=3::LaTeX Warning: Reference `x' on page 1 undefined on input line 3.",
                              "::error file=ch/one.tex,line=1::! Undefined control sequence."}));
        QFile file(dir.filePath("out/report.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(report["exitStatus"].toInt(), 1);
        const QJsonObject root = report["roots"].toArray().first().toObject();
        QCOMPARE(root["file"].toString(), QStringLiteral("cites.tex"));
        QCOMPARE(root["status"].toString(), QStringLiteral("failed"));
        QCOMPARE(root["counts"].toObject()["errors"].toInt(), 1);
        const QJsonArray steps = root["steps"].toArray();
        QCOMPARE(steps.size(), 1); // the error ends the procedure after its first step
        QCOMPARE(steps[0].toObject()["exitStatus"].toInt(), 1);
        QCOMPARE(steps[0].toObject()["arguments"].toArray().last().toString(), QStringLiteral("cites"));
        const QJsonArray problems = root["problems"].toArray();
        const auto located = std::find_if(problems.begin(), problems.end(), [](const QJsonValue &problem) {
            return problem.toObject()["kind"] == "error";
        });
        QVERIFY(located != problems.end());
        QCOMPARE(located->toObject()["file"].toString(), QStringLiteral("ch/one.tex"));
        QCOMPARE(located->toObject()["line"].toInt(), 1);
        const QJsonObject plain = report["roots"].toArray().last().toObject();
        QCOMPARE(plain["status"].toString(), QStringLiteral("done"));
        QCOMPARE(plain["pages"].toInt(), 1);
        const QJsonObject skipped = plain["steps"].toArray().last().toObject();
        QCOMPARE(skipped["ran"].toBool(), false);
        QVERIFY(!skipped["reason"].toString().isEmpty() && !skipped.contains("exitStatus"));
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
