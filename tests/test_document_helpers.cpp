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
#include <utime.h>

class TestDocumentHelpers : public QObject {
    Q_OBJECT
    static constexpr int kNoShape = -9; // a page string that counts no pages

private slots:
    // The line splits at each single space; a name is put in after splitting, whole.
    void argumentsOfCommandLine_data() {
        TestSupport::columns<QString, QString, QStringList>({"line", "basename", "expected"});
        QTest::newRow("each %1, whole, inserted text not searched again")
            << "/bin/echo %1 -job=%1.out" << "%1  x" << QStringList{"/bin/echo", "%1  x", "-job=%1  x.out"};
        QTest::newRow("every space makes a word")
            << " /bin/echo  %1 " << "m" << QStringList{"", "/bin/echo", "", "m", ""};
        QTest::newRow("name like an option")
            << "t %1 %1.aux -job=%1" << "-shell-escape"
            << QStringList{"t", "./-shell-escape", "./-shell-escape.aux", "-job=-shell-escape"};
        QTest::newRow("tab is no separator") << "/bin/echo\t%1" << "m" << QStringList{"/bin/echo\tm"};
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
        QTest::newRow("placeholders inside words") << "code -g %f:%l" << file << QStringList{"code", "-g", file + ":7"};
        QTest::newRow("no %f: file last") << "gedit" << file << QStringList{"gedit", file};
        QTest::newRow("quoted placeholders") << "ed '+%l' \"%f\"" << odd << QStringList{"ed", "+7", odd};
        QTest::newRow("runs of blanks make no words, no shell syntax")
            << "  ed \t~/x;y   *.tex|z %f  " << file << QStringList{"ed", "~/x;y", "*.tex|z", file};
        QTest::newRow("backslash outside quotes")
            << "my\\ ed a\\'b\\\\ %f" << file << QStringList{"my ed", "a'b\\", file};
        QTest::newRow("single quotes keep all") << "ed '\\\"$x' %f" << file << QStringList{"ed", "\\\"$x", file};
        QTest::newRow("backslash in double quotes")
            << "ed \"a\\\"b\\$c\\d\\\\\" %f" << file << QStringList{"ed", "a\"b$c\\d\\", file};
        QTest::newRow("pieces that touch form one word")
            << "ed -g\"%f\"':'%l" << odd << QStringList{"ed", "-g" + odd + ":7"};
        QTest::newRow("empty quotes make a word") << "ed '' \"\" %f" << file << QStringList{"ed", "", "", file};
        QTest::newRow("unclosed double quote") << "ed \"%f" << file << QStringList();
        QTest::newRow("unclosed single quote") << "ed '%f" << file << QStringList();
        QTest::newRow("lone backslash at the end") << "ed %f \\" << file << QStringList();
    }
    void editorArguments() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QTEST(EditorCommand::arguments(command, file, 7).value_or(QStringList()), "expected");
    }

    // The shown command line quotes only the words that need it, and gives the arguments
    // back when pasted into a shell.
    void shownCommandLine() {
        const QStringList words{"/usr/bin/pdflatex", "-job=a,b:c+d@e%f", "Thèse_1.tex", "main file", "it's", ""};
        QCOMPARE(ShellWords::joined(words),
                 "/usr/bin/pdflatex -job=a,b:c+d@e%f Thèse_1.tex 'main file' 'it'\\''s' ''");
        const QStringList arguments = words + QStringList{"\"", "$HOME", "a;b", "\\", "`id`", "*", "~", "#", "x\ty",
                                                          "a|b&c", "(x)", "<y>"};
        const QString line = ShellWords::joined(arguments);
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

    // A line is an error when it begins, case and all, with any entry that is not empty.
    void prefixMatching() {
        const QStringList errors{"!", "LaTeX Error", "I found no "};
        QVERIFY(checkError(u"I found no \\citation commands\n", errors));
        QVERIFY(!checkError(u"x ! not at start\n", errors));
        QVERIFY(!checkError(u"latex error: x\n", errors));
        QVERIFY(!checkError(u"anything\n", {""}));
    }

    // The page string's %n stands for the number; the text around it, when there is any,
    // says where the number stands on the line. -1: no page report on the line.
    void pageReport_data() {
        TestSupport::columns<QString, QString, int>({"pageString", "line", "pages"});
        const QString dvi = QStringLiteral("Output written on main.dvi (12 pages, 80 bytes).");
        QTest::newRow("shape 0") << "(%n page" << dvi << 12;
        QTest::newRow("shape 0, no prefix") << "(%n page" << "no page report here" << -1;
        QTest::newRow("shape 0, last prefix wins") << "(%n page" << "(3 x (5 pages" << 5;
        QTest::newRow("shape 0, suffix missing") << "(%n page" << "(42" << 42;
        QTest::newRow("shape 0, white space skipped") << "(%n page" << "(  7 pages" << 7;
        QTest::newRow("shape 0, clamped high") << "(%n page" << "(99999999999 pages" << 2147483647;
        QTest::newRow("shape 0, clamped low") << "(%n page" << "(-99999999999 pages" << -2147483647 - 1;
        QTest::newRow("shape 1") << "Pages: %n" << "Pages: 7" << 7;
        QTest::newRow("shape 1, space before the number") << "Pages:%n" << "Pages: 7" << 0;
        QTest::newRow("shape 1, absent") << "Pages: %n" << "pages: 7" << -1;
        QTest::newRow("shape 2") << "%n pages" << dvi << 12;
        QTest::newRow("shape 2, at line start") << "%n pages" << "34 pages" << 34;
        QTest::newRow("shape 2, no digits before") << "%n pages" << "some pages" << 0;
        QTest::newRow("shape 2, absent") << "%n pages" << "12 page" << -1;
        QTest::newRow("shape 3, the last number") << "%n" << "[1] [2] [3]" << 3;
        QTest::newRow("shape 3, no digit") << "%n" << "none here" << -1;
        QTest::newRow("shape 3, other digit script") << "%n" << QString::fromUtf8("page \u0663\u0664") << 34;
        QTest::newRow("second %n is text") << "%n of %n" << "12 of 5" << -1;
        QTest::newRow("no %n: no page count") << "%N" << "3" << kNoShape;
    }
    void pageReport() {
        QFETCH(QString, pageString);
        QFETCH(QString, line);
        QFETCH(int, pages);
        const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
        QCOMPARE(shape.has_value(), pages != kNoShape);
        if (shape)
            QCOMPARE(PageReport::checkPage(line + '\n', *shape), pages);
    }

    // Only complete lines are taken; a carriage return alone does not end a line.
    void lineCompletion() {
        QString fraction = "first line\r\nsecond\n\nthi";
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), "first line\r\nsecond\n\n");
        fraction += "rd\r";
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), "");
        fraction += "\n";
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), "third\r\n"); // "thi" was kept
    }

    // A warning without a line number takes one from its package's continuation line, but
    // not across a file TeX opens in between; a parenthesis before a space opens no file.
    // A continuation is "(word)" and white space at the very start of the line.
    void placeOfAWarning_data() {
        TestSupport::columns<QString, QString>({"log", "place"});
        const QString warned = "(./a.tex\nPackage p Warning: W\n";
        QTest::newRow("continuation") << warned + "(p)   on input line 12." << "a.tex:12";
        QTest::newRow("continuation after a tab") << warned + "(p)\ton input line 12." << "a.tex:12";
        QTest::newRow("file opened between") << warned + "(./b.tex\n(p)   on input line 12." << "";
        QTest::newRow("parenthesis and space")
            << "(./a.tex\n( see x.pdf\nLaTeX Warning: W on input line 5." << "a.tex:5";
        QTest::newRow("no white space after") << warned + "(p)on input line 12." << "";
        QTest::newRow("empty word") << warned + "()   on input line 12." << "";
        QTest::newRow("space in the word") << warned + "(p q)   on input line 12." << "";
        QTest::newRow("not at the start") << warned + " (p)   on input line 12." << "";
        QTest::newRow("parenthesis closed inside a file")
            << "(./a.tex\n(./b.tex (see the manual)\nLaTeX Warning: W on input line 5." << "b.tex:5";
    }
    void placeOfAWarning() {
        QFETCH(QString, log);
        SourceLocator locator("/w");
        const QStringList lines = log.split('\n');
        QStringList places;
        for (qsizetype id = 0; id < lines.size(); ++id)
            for (const auto &[line, at] : locator.take(lines[id], id, lines[id].contains("Warning")))
                if (lines[line].contains("Warning"))
                    places << QDir("/w").relativeFilePath(at.file) + ':' + QString::number(at.line);
        QTEST(places.join(' '), "place");
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
        QVERIFY(QFile::link(name, folder + "/link.tex"));
        files.lookAgain();
        QVERIFY(files.isFile(name) && files.isFile(folder + "/link.tex"));
        QVERIFY(!files.isFile(folder + "/sub folder") && !files.isFile(dir.filePath("missing/sec two.tex")));

        // A folder last changed long ago: its listing is kept until it changes.
        const utimbuf longAgo{1000000000, 1000000000};
        QCOMPARE(::utime(QFile::encodeName(folder).constData(), &longAgo), 0);
        files.lookAgain();
        QVERIFY(!files.isFile(folder + "/later.tex"));
        QVERIFY(TestSupport::writeFile(folder + "/later.tex", "x"));
        files.lookAgain();
        QVERIFY(files.isFile(folder + "/later.tex"));

        // A bounded number of folders is kept; one more, and all are forgotten and read afresh.
        FilePresence bounded;
        const QString last = folder + "/last.tex";
        QVERIFY(!bounded.isFile(last));
        QVERIFY(TestSupport::writeFile(last, "x"));
        for (int i = 1; i < FilePresence::kMaxFolders; ++i) // ours is one of those kept
            bounded.isFile(dir.filePath(QStringLiteral("gone %1/x.tex").arg(i)));
        QVERIFY(!bounded.isFile(last));
        bounded.isFile(dir.filePath("one more/x.tex"));
        QVERIFY(bounded.isFile(last));
    }
};

QTEST_APPLESS_MAIN(TestDocumentHelpers)
#include "test_document_helpers.moc"
