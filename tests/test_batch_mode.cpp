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
    void useCommand(int index, const QString &line) {
        setCommand(index, line);
        QVERIFY(gQuireonPrefs->savePreferences());
    }
    // A file of the working folder, "" when it cannot be read.
    QByteArray contents(const QString &name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The process (group) id a tool wrote to a file of the working folder, 0 for none.
    qint64 idIn(const QString &name) { return contents(name).trimmed().toLongLong(); }

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
        QFile::link(dir.filePath("clean.tex"), dir.filePath("link.tex"));
        for (const char *name : {"r1.tex", "r2.tex", "r3.tex", "r2.fail", "h1.tex", "h2.tex", "h3.tex"})
            writeFile(dir.filePath(name));
    }
    void init() {
        prefs = freshPrefs();
        setProcedure({1, -1, 1}); // pdflatex, open the PDF, pdflatex
        QVERIFY(gQuireonPrefs->savePreferences());
    }

    // The steps show as prompt lines, the tool's own output follows, and the last line sums
    // up the counts. A Quireon running on the same display is left alone.
    void buildShowsItsStepsAndSummary_data() {
        // commands: the prompt lines, in order; summary: the last line.
        TestSupport::columns<QStringList, int, QStringList, QString>({"arguments", "exitCode", "commands", "summary"});
        const QString pdflatex = "Quireon> /usr/bin/pdflatex -synctex=1 -cnf-line=max_print_line=10000 ";
        QTest::newRow("stored procedure, a root name a shell would take apart, shown quoted")
            << QStringList{"--batch", "it's;ok.tex"} << 0
            << QStringList{pdflatex + "'it'\\''s;ok'", "Quireon> pdfLaTeX again: labels changed", pdflatex + "'it'\\''s;ok'"}
            << "errors 0, warnings 3, notes 1, pages 1";
        QTest::newRow("errors stop the stored procedure")
            << QStringList{"--batch", "broken.tex"} << 1
            << QStringList{pdflatex + "broken", "Quireon> pdflatex ended with exit status 1."}
            << "errors 3, warnings 0, notes 1, pages 0"; // the second error quits: no pages
        QTest::newRow("a failure status alone stops given commands") // makeindex without an .idx exits 1
            << QStringList{"--batch", "--procedure", "1,3,1", "clean.tex"} << 1
            << QStringList{pdflatex + "clean", "Quireon> MakeIndex runs: clean.ind is missing", "Quireon> /usr/bin/makeindex clean",
                           "Quireon> makeindex ended with exit status 1."}
            << "errors 0, warnings 3, notes 1, pages 1";
    }
    void buildShowsItsStepsAndSummary() {
        QFETCH(QStringList, arguments);
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy requested(&running, &SingleInstance::filesRequested);
        QProcess batch;
        start(batch, arguments, ":77");
        QVERIFY(batch.waitForFinished(120000) && batch.exitStatus() == QProcess::NormalExit);
        QTEST(batch.exitCode(), "exitCode");
        const QStringList lines = QString::fromUtf8(batch.readAllStandardOutput()).split('\n');
        QTEST(lines.filter(QRegularExpression("^Quireon> ")), "commands");
        QTEST(lines.value(lines.size() - 2), "summary");
        QVERIFY(lines.contains("Transcript written on " + QFileInfo(arguments.last()).baseName() + ".log."));
        QCOMPARE(requested.count(), 0);
    }

    // Help and version answer at once; what cannot be built is refused with a message before
    // anything runs: a root named twice under another name, roots whose outputs would
    // meet (under this command, every root's job is "out"), a report with nowhere to go.
    void answersWithoutBuilding_data() {
        // output: what standard output holds, "" for a refusal that leaves it empty.
        TestSupport::columns<QStringList, int, QString>({"arguments", "exitCode", "output"});
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--procedure <numbers>";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "quireon 0.";
        QTest::newRow("missing file") << QStringList{"--batch", "my thesis; $(x) ü.tex"} << 2 << "";
        QTest::newRow("wrong type") << QStringList{"--batch", "notes.txt"} << 2 << "";
        QTest::newRow("command number out of range") << QStringList{"--batch", "--procedure", "1,6", "clean.tex"} << 2 << "";
        QTest::newRow("procedure without batch") << QStringList{"--procedure", "1", "clean.tex"} << 2 << "";
        QTest::newRow("the same root through a link") << QStringList{"--batch", "clean.tex", "link.tex"} << 2 << "";
        QTest::newRow("same job name") << QStringList{"--batch", "clean.tex", "broken.tex"} << 2 << "";
        QTest::newRow("report folder missing")
            << QStringList{"--batch", "--report", "json=missing/report.json", "clean.tex"} << 2 << "";
    }
    void answersWithoutBuilding() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        useCommand(0, "/usr/bin/pdflatex -jobname=out %1");
        QProcess batch;
        start(batch, arguments);
        QVERIFY(batch.waitForFinished(10000) && batch.exitStatus() == QProcess::NormalExit);
        QTEST(batch.exitCode(), "exitCode");
        const QByteArray shown = batch.readAllStandardOutput();
        if (output.isEmpty())
            QVERIFY(shown.isEmpty() && !batch.readAllStandardError().isEmpty());
        else
            QVERIFY2(shown.contains(output.toUtf8()), shown.constData());
    }

    // Several roots build side by side, never more at once than the jobs allow, in the order
    // given. Each log is one block that ends with its root's summary; a failing root leaves
    // the others alone, and the exit status is the worst of them.
    void severalRootsBuildSideBySide_data() {
        QTest::addColumn<QString>("jobs");
        QTest::newRow("two jobs") << "2";
        QTest::newRow("one job") << "1";
    }
    void severalRootsBuildSideBySide() {
        QFETCH(QString, jobs);
        useCommand(0, TestSupport::fixture("paced_lines.sh") + " %1");
        QFile::remove(dir.filePath("builds.log"));
        QProcess batch;
        start(batch, {"--batch", "--procedure", "1", "-j", jobs, "r1.tex", "r2.tex", "r3.tex"});
        const QString out = QString::fromUtf8(finished(batch, 1, 20000));
        for (const QString root : {"r1", "r2", "r3"}) {
            QString block = ' ' + root + '\n'; // the end of the prompt line
            for (int n = 1; n <= 5; ++n)
                block += root + ": line " + QString::number(n) + '\n';
            const bool fails = root == "r2";
            block += (fails ? "! r2 failed.\n" : "") + root + ".tex: errors " + (fails ? "1" : "0");
            QVERIFY2(out.contains(block + ", warnings 0, notes 0, pages 0\n"), qPrintable(out));
        }
        QCOMPARE(out.count('\n'), 3 * 7 + 1 + 1); // r2's error line too
        QVERIFY(out.section('\n', -2).startsWith("3 files: 2 built, 1 failed; errors 1"));
        const QStringList events = QString::fromUtf8(contents("builds.log")).split('\n', Qt::SkipEmptyParts);
        int running = 0, most = 0;
        for (const QString &event : events)
            most = std::max(most, running += event.startsWith("start") ? 1 : -1);
        QCOMPARE(QString::number(most), jobs);
        QCOMPARE(events.filter("start").last(), "start r3");
    }

    // The window and a batch run read the same tool output alike: one recorded real log
    // gives the same counts and page number through both.
    void bothFacesCountAlike() {
        useCommand(0, TestSupport::fixture("replay.sh") + " " + QUIREON_TESTDATA "/engine/thesis-pdflatex.out");
        QProcess batch;
        start(batch, {"--batch", "--procedure=1", "clean.tex"});
        const QString summary = QString::fromUtf8(finished(batch, 1, 20000)).trimmed().section('\n', -1);
        MyDocument document;
        document.setFileName(dir.filePath("clean.tex"));
        QVERIFY(runCommand(document, 0));
        const QString window = QStringLiteral("errors %1, warnings %2, notes %3, pages %4")
                                   .arg(fieldText(document, "textNumErrors"), fieldText(document, "textNumWarnings"),
                                        fieldText(document, "textNumNotes"), fieldText(document, "textNumPages"));
        QCOMPARE(summary, window);
        QVERIFY(window.startsWith("errors 1, ") && window.endsWith(", pages 6")); // as the log reads
    }

    // The reports: annotations GitHub places on the source lines, after the log, and a JSON
    // account of the steps, their reasons and endings, and the problems with their places.
    void reportsForCi() {
        TestSupport::writeFile(dir.filePath("ch/one.tex"), "Chapter text \\undefinedmacro here.\n");
        writeFile(dir.filePath("cites.tex"), "\\documentclass{article}\n\\begin{document}\nSee \\ref{x}.\n"
                                             "\\input{ch/one}\n\\end{document}\n");
        writeFile(dir.filePath("plain.tex"), "\\documentclass{article}\n\\begin{document}\nPlain.\n\\end{document}\n");
        QProcess batch;
        start(batch, {"--batch", "--procedure=1,1,1", "--report", "github", "--report", "json=report.json", "cites.tex",
                      "plain.tex"});
        const QStringList lines = QString::fromUtf8(finished(batch, 1, 60000)).split('\n');
        QCOMPARE(lines.filter(QRegularExpression("^::")),
                 (QStringList{"::warning file=cites.tex,line=3::LaTeX Warning: Reference `x' on page 1 undefined on input line 3.",
                              "::error file=ch/one.tex,line=1::! Undefined control sequence."}));
        const QJsonObject report = QJsonDocument::fromJson(contents("report.json")).object();
        QCOMPARE(report["exitStatus"].toInt(), 1);
        const QJsonValue cites = report["roots"][0];
        QCOMPARE(cites["file"].toString(), "cites.tex");
        QCOMPARE(cites["status"].toString(), "failed");
        QCOMPARE(cites["counts"]["errors"].toInt(), 1);
        QCOMPARE(cites["steps"].toArray().size(), 1); // the error ends the procedure after its first step
        QCOMPARE(cites["steps"][0]["exitStatus"].toInt(), 1);
        QCOMPARE(cites["steps"][0]["arguments"].toArray().last().toString(), "cites");
        QVERIFY(cites["problems"].toArray().contains(QJsonObject{
            {"kind", "error"}, {"text", "! Undefined control sequence."}, {"file", "ch/one.tex"}, {"line", 1}}));
        const QJsonValue plain = report["roots"][1];
        QCOMPARE(plain["status"].toString(), "done");
        QCOMPARE(plain["pages"].toInt(), 1);
        const QJsonObject skipped = plain["steps"].toArray().last().toObject();
        QCOMPARE(skipped["ran"].toBool(), false);
        QVERIFY(!skipped["reason"].toString().isEmpty() && !skipped.contains("exitStatus"));
    }

    // However a run of several roots ends, by a signal (Ctrl+C, kill, an SSH session that
    // drops, Ctrl+\) or on its own, no process of a tool's tree outlives it, one deaf to
    // SIGTERM included; a root still waiting for its turn starts only if the others end.
    void noToolProcessOutlivesTheRun_data() {
        // ids: where each tool writes its process group; signal: 0 lets the run end on its own.
        TestSupport::columns<QString, QString, int, int>({"command", "ids", "signal", "exitCode"});
        const QString hangs = TestSupport::fixture("tells_pid_and_hangs.sh") + " %1";
        const QString deaf = TestSupport::fixture("deaf_tree.sh") + " %1";
        QTest::newRow("Ctrl+C") << hangs << ".pid" << SIGINT << 130;
        QTest::newRow("kill") << hangs << ".pid" << SIGTERM << 143;
        QTest::newRow("hang-up, tools deaf to SIGTERM") << deaf << ".group" << SIGHUP << 129;
        QTest::newRow("quit key") << hangs << ".pid" << SIGQUIT << 131;
        // The tools close their output and run on: the run ends, and Quireon waits for them.
        QTest::newRow("own end, deaf tools left running") << deaf + " quiet" << ".group" << 0 << 0;
    }
    void noToolProcessOutlivesTheRun() {
        QFETCH(QString, command);
        QFETCH(QString, ids);
        QFETCH(int, signal);
        useCommand(0, command);
        const QStringList roots{"h1", "h2", "h3"};
        for (const QString &root : roots)
            QFile::remove(dir.filePath(root + ids));
        QProcess batch;
        start(batch, {"--batch", "--jobs=2", "--procedure=1", "h1.tex", "h2.tex", "h3.tex"});
        QTRY_VERIFY_WITH_TIMEOUT(idIn("h1" + ids) > 0 && idIn("h2" + ids) > 0, 10000);
        if (signal != 0)
            ::kill(pid_t(batch.processId()), signal);
        QFETCH(int, exitCode);
        QVERIFY(finished(batch, exitCode, 20000).contains("\nh2.tex: errors 0, warnings 0, notes 0, pages 0\n"));
        for (const QString &root : roots)
            QTRY_VERIFY(idIn(root + ids) == 0 || !ProcessCensus::groupAlive(idIn(root + ids)));
        QCOMPARE(idIn("h3" + ids) > 0, signal == 0); // the waiting root starts once one ends
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
        setCommand(1, TestSupport::fixture("count_run.sh") + " %1");
        useCommand(0, TestSupport::fixture("deaf_tree.sh") + " %1");
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
        const qint64 group = idIn("clean.group");
        QTRY_VERIFY(group > 0 ? !ProcessCensus::groupAlive(group) : output != "head");
    }
};

QTEST_MAIN(TestBatchMode)
#include "test_batch_mode.moc"
