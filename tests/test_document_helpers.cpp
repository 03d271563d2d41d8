// The widget-free pieces of a command run: argument lists, prefix matching, page reports
// line completion and the source places of warnings.
#include "document/helpers/commandline.h"
#include "document/helpers/editorcommand.h"
#include "document/helpers/filepresence.h"
#include "document/helpers/linesplitter.h"
#include "document/helpers/pagereport.h"
#include "document/helpers/prefixmatch.h"
#include "document/helpers/problemdiff.h"
#include "document/helpers/shellwords.h"
#include "document/helpers/sourcelocator.h"
#include "testsupport.h"

#include <QtTest>
#include <sys/stat.h>
#include <utime.h>

class TestDocumentHelpers : public QObject {
    Q_OBJECT
    static constexpr int kNoShape = -9; // a page string that counts no pages

private slots:
    void argumentsOfCommandLine_data() {
        TestSupport::columns<QString, QString, QStringList>({"line", "basename", "expected"});
        const auto row = [](const char *name, const char *line, const char *basename,
                            const QStringList &expected) {
            QTest::newRow(name) << QString(line) << QString(basename) << expected;
        };
        row("twice", "/bin/echo %1 %1", "main", {"/bin/echo", "main", "main"});
        row("two spaces", "/bin/echo  %1", "main", {"/bin/echo", "", "main"});
        row("spaces at both ends", " /bin/echo ", "m", {"", "/bin/echo", ""});
        row("spaces inside a word", "t -job=%1.out", "a  b", {"t", "-job=a  b.out"});
        row("name like an option", "t %1 %1.aux -job=%1", "-shell-escape",
            {"t", "./-shell-escape", "./-shell-escape.aux", "-job=-shell-escape"});
        row("empty line", "", "main", {""});
        row("tab is no separator", "/bin/echo\t%1", "m", {"/bin/echo\tm"});
        row("inserted text not searched again", "/bin/echo %1", "%1x", {"/bin/echo", "%1x"});
        row("left to right", "/bin/echo %%11", "b", {"/bin/echo", "%b1"});
    }
    void argumentsOfCommandLine() {
        QFETCH(QString, line);
        QFETCH(QString, basename);
        QTEST(CommandLine::arguments(line, basename), "expected");
    }

    // The editor command is split as a shell would, without one; the file name is put in
    // after splitting, so whatever it holds stays one argument. An empty list: refused.
    void editorArguments_data() {
        TestSupport::columns<QString, QString, QStringList>({"command", "file", "expected"});
        const QString file = "/t/my %l dir/a.tex";
        const QString odd = "/t/it's \"x\" ;$(id) \\ `y`.tex";
        const auto row = [](const char *name, const QString &command, const QString &file,
                            const QStringList &expected) {
            QTest::newRow(name) << command << file << expected;
        };
        row("placeholders inside words", "code -g %f:%l", file, {"code", "-g", file + ":7"});
        row("no %f: file last", "gedit", file, {"gedit", file});
        row("program path with a space", "\"/opt/my editor/ed\" %f", file, {"/opt/my editor/ed", file});
        row("quoted placeholders", "ed '+%l' \"%f\"", odd, {"ed", "+7", odd});
        row("runs of blanks make no words", "  ed \t+%l   %f  ", file, {"ed", "+7", file});
        row("backslash outside quotes", "my\\ ed a\\'b\\\\ %f", file, {"my ed", "a'b\\", file});
        row("single quotes keep all", "ed '\\\"$x' %f", file, {"ed", "\\\"$x", file});
        row("backslash in double quotes", "ed \"a\\\"b\\$c\\d\\\\\" %f", file, {"ed", "a\"b$c\\d\\", file});
        row("pieces that touch form one word", "ed -g\"%f\"':'%l", odd, {"ed", "-g" + odd + ":7"});
        row("empty quotes make a word", "ed '' \"\" %f", file, {"ed", "", "", file});
        row("no shell syntax", "ed ~/x;y *.tex|z %f", file, {"ed", "~/x;y", "*.tex|z", file});
        row("unclosed double quote", "ed \"%f", file, {});
        row("unclosed single quote", "ed '%f", file, {});
        row("quote closed by the other kind", "ed \"%f'", file, {});
        row("lone backslash at the end", "ed %f \\", file, {});
    }
    void editorArguments() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QTEST(EditorCommand::arguments(command, file, 7).value_or(QStringList()), "expected");
    }

    // The shown command line gives the arguments back when pasted into a shell.
    void shownCommandLine_data() {
        TestSupport::columns<QStringList, QString>({"arguments", "shown"});
        QTest::newRow("plain words unquoted")
            << QStringList{"/usr/bin/pdflatex", "-job=a,b:c+d@e%f", "Thèse_1.tex"}
            << "/usr/bin/pdflatex -job=a,b:c+d@e%f Thèse_1.tex";
        QTest::newRow("a space") << QStringList{"/usr/bin/bibtex", "main file"} << "/usr/bin/bibtex 'main file'";
        QTest::newRow("single quote") << QStringList{"t", "it's"} << "t 'it'\\''s'";
        QTest::newRow("empty argument") << QStringList{"t", ""} << "t ''";
        for (const char *special : {"\"", "$HOME", "a;b", "\\", "`id`", "*", "~", "#", "x\ty", "a|b&c", "(x)", "<y>"})
            QTest::newRow(special) << QStringList{"t", special} << QString();
    }
    void shownCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        const QString line = ShellWords::joined(arguments);
        if (!shown.isEmpty())
            QCOMPARE(line, shown);
        QProcess shell;
        shell.start("/bin/sh", {"-c", "printf '%s\\0' " + line});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).split(QChar(0)), arguments + QStringList{""});
        QCOMPARE(ShellWords::split(line), arguments);
    }

    // What moves by itself is the same problem; another reference or file is another.
    void problemDiff() {
        const QStringList before{
            "Overfull \\hbox (1.5pt too wide) in paragraph at lines 20--21",
            "? ! Undefined control sequence.", "./a.tex:3: Undefined control sequence.",
            "LaTeX Warning: Reference `a' on page 1 undefined on input line 4.",
            "LaTeX Warning: Reference `a' on page 1 undefined on input line 4."};
        const QStringList after{
            "Overfull \\hbox (2.25pt too wide) in paragraph at lines 22--23",
            "! Undefined control sequence.", "./b.tex:3: Undefined control sequence.",
            "LaTeX Warning: Reference `b' on page 2 undefined on input line 9.",
            "LaTeX Warning: Reference `a' on page 2 undefined on input line 9."};
        const ProblemDiff::Result result = ProblemDiff::compare(before, after);
        QCOMPARE(result.added, QList<int>({2, 3}));
        QCOMPARE(result.resolved, 2);
    }

    void prefixMatching_data() {
        TestSupport::columns<QString, QStringList, bool>({"line", "strings", "found"});
        const QStringList errors{"!", "LaTeX Error", "I found no "};
        QTest::newRow("first entry") << "! Undefined control sequence.\n" << errors << true;
        QTest::newRow("later entry") << "I found no \\citation commands\n" << errors << true;
        QTest::newRow("inside the line") << "x ! not at start\n" << errors << false;
        QTest::newRow("case") << "latex error: x\n" << errors << false;
        QTest::newRow("empty entry never matches") << "anything\n" << QStringList{""} << false;
        QTest::newRow("empty entry before a match") << "Warning\n"
                                                    << QStringList{"", "Warn"} << true;
        QTest::newRow("entry longer than line") << "LaTeX\n" << errors << false;
        QTest::newRow("newline is part of the line") << "abc\n" << QStringList{"abc\n"} << true;
    }
    void prefixMatching() {
        QFETCH(QString, line);
        QFETCH(QStringList, strings);
        QTEST(checkError(line, strings), "found");
    }

    void pageReport_data() {
        TestSupport::columns<QString, QString, int>({"pageString", "line", "pages"});
        const auto row = [](const char *name, const char *page, const QString &line, int pages) {
            QTest::newRow(name) << QString(page) << line + '\n' << pages;
        };
        const QString dvi = QStringLiteral("Output written on main.dvi (12 pages, 80 bytes).");
        row("shape 0", "(%n page", dvi, 12);
        row("shape 0, no prefix", "(%n page", "no page report here", -1);
        row("shape 0, last prefix wins", "(%n page", "(3 x (5 pages", 5);
        row("shape 0, suffix missing", "(%n page", "(42", 42);
        row("shape 0, white space skipped", "(%n page", "(  7 pages", 7);
        row("shape 0, sign", "(%n page", "(-3 pages", -3);
        row("shape 0, nothing numeric", "(%n page", "(many pages", 0);
        row("shape 0, clamped high", "(%n page", "(99999999999 pages", 2147483647);
        row("shape 0, clamped low", "(%n page", "(-99999999999 pages", -2147483647 - 1);
        row("shape 1", "Pages: %n", "Pages: 7", 7);
        row("shape 1, space before the number", "Pages:%n", "Pages: 7", 0);
        row("shape 1, digits end at a non-digit", "p=%n", "p=12x3", 12);
        row("shape 1, absent", "Pages: %n", "pages: 7", -1);
        row("shape 2", "%n pages", dvi, 12);
        row("shape 2, at line start", "%n pages", "34 pages", 34);
        row("shape 2, no digits before", "%n pages", "some pages", 0);
        row("shape 2, absent", "%n pages", "12 page", -1);
        row("shape 3", "%n", "[1] [2] [3]", 3);
        row("shape 3, last number", "%n", dvi, 80);
        row("shape 3, no digit", "%n", "none here", -1);
        row("shape 3, other digit script", "%n", QString::fromUtf8("page \u0663\u0664"), 34);
        row("second %n is text", "%n of %n", "12 of 5", -1);
        row("no %n", "pages", "3 pages", kNoShape);
        row("capital N", "%N", "3", kNoShape);
    }
    void pageReport() {
        QFETCH(QString, pageString);
        QFETCH(QString, line);
        QFETCH(int, pages);
        const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
        QCOMPARE(shape.has_value(), pages != kNoShape);
        if (shape)
            QCOMPARE(PageReport::checkPage(line, *shape), pages);
    }

    // Only complete lines are taken; a carriage return alone does not end a line.
    void lineCompletion() {
        QString fraction;
        const QList<std::array<const char *, 3>> steps{
            {"first li", "", "first li"},
            {"ne\r\nsecond\n\nthi", "first line\r\nsecond\n\n", "thi"},
            {"rd\r", "", "third\r"},
            {"\n", "third\r\n", ""}};
        for (const auto &[appended, taken, rest] : steps) {
            fraction += QString::fromUtf8(appended);
            QCOMPARE(LineSplitter::takeCompleteLines(fraction), QString::fromUtf8(taken));
            QCOMPARE(fraction, QString::fromUtf8(rest));
        }
    }

    // A warning without a line number takes one from its package's continuation line, but
    // not across a file TeX opens in between; a parenthesis before a space opens no file.
    void placeOfAWarning_data() {
        TestSupport::columns<QString, QString>({"log", "place"});
        QTest::newRow("continuation") << "(./a.tex\nPackage p Warning: W\n(p)   on input line 12.\n" << "a.tex:12";
        QTest::newRow("file opened between")
            << "(./a.tex\nPackage p Warning: W\n(./b.tex\n(p)   on input line 12.\n" << "";
        QTest::newRow("parenthesis and space") << "(./a.tex\n( see x.pdf\nLaTeX Warning: W on input line 5.\n"
                                              << "a.tex:5";
        QTest::newRow("parenthesis closed inside a file")
            << "(./a.tex\n(./b.tex (see the manual)\nLaTeX Warning: W on input line 5.\n" << "b.tex:5";
    }
    void placeOfAWarning() {
        QFETCH(QString, log);
        QFETCH(QString, place);
        SourceLocator locator("/w");
        const QStringList lines = log.split('\n', Qt::SkipEmptyParts);
        QStringList places;
        for (qsizetype id = 0; id < lines.size(); ++id)
            for (const auto &[line, at] : locator.take(lines[id], id, lines[id].contains("Warning")))
                if (lines[line].contains("Warning"))
                    places << QDir("/w").relativeFilePath(at.file) + ':' + QString::number(at.line);
        QCOMPARE(places.join(' '), place);
    }

    // A continuation is "(word)" and white space at the very start; anything else leaves a
    // warning without its place.
    void continuationLines_data() {
        TestSupport::columns<QString, QString>({"continuation", "place"});
        QTest::newRow("spaces") << "(p)   on input line 12." << "a.tex:12";
        QTest::newRow("a tab") << "(p)\ton input line 12." << "a.tex:12";
        QTest::newRow("no white space after") << "(p)on input line 12." << "";
        QTest::newRow("empty word") << "()   on input line 12." << "";
        QTest::newRow("space in the word") << "(p q)   on input line 12." << "";
        QTest::newRow("not at the start") << " (p)   on input line 12." << "";
    }
    void continuationLines() {
        QFETCH(QString, continuation);
        QFETCH(QString, place);
        SourceLocator locator("/w");
        locator.take(u"(./a.tex", 0, false);
        QString found;
        SourceLocator::Located located = locator.take(u"Package p Warning: W", 1, true);
        located += locator.take(continuation, 2, false);
        for (const auto &[id, at] : std::as_const(located))
            if (id == 1)
                found = QDir("/w").relativeFilePath(at.file) + ':' + QString::number(at.line);
        QCOMPARE(found, place);
    }

    // Answers follow the file system once asked to look again, also when a folder changes
    // long after it was first read; folders, missing folders and links are told apart.
    void filePresence() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("my part");
        QVERIFY(QDir().mkpath(folder + "/sub folder"));
        const QString name = folder + "/sec two.tex";
        FilePresence files;
        QVERIFY(!files.isFile(name));
        QVERIFY(TestSupport::writeFile(name, "x"));
        QVERIFY(!files.isFile(name)); // the folder as it was read
        files.lookAgain();
        QVERIFY(files.isFile(name));
        QVERIFY(!files.isFile(folder + "/sub folder"));
        QVERIFY(!files.isFile(dir.filePath("missing/sec two.tex")));
        QVERIFY(QFile::link(name, folder + "/link.tex"));
        QVERIFY(QFile::link(folder + "/sub folder", folder + "/folder link"));
        files.lookAgain();
        QVERIFY(files.isFile(folder + "/link.tex"));
        QVERIFY(!files.isFile(folder + "/folder link"));

        // A folder last changed long ago: its listing is kept until it changes.
        const utimbuf longAgo{1000000000, 1000000000};
        QCOMPARE(::utime(QFile::encodeName(folder).constData(), &longAgo), 0);
        files.lookAgain();
        QVERIFY(!files.isFile(folder + "/later.tex"));
        QVERIFY(TestSupport::writeFile(folder + "/later.tex", "x"));
        files.lookAgain();
        QVERIFY(files.isFile(folder + "/later.tex"));
        QVERIFY(QFile::remove(name));
        files.lookAgain();
        QVERIFY(!files.isFile(name));
    }
};

QTEST_APPLESS_MAIN(TestDocumentHelpers)
#include "test_document_helpers.moc"
