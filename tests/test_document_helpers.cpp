// The widget-free pieces of a command run: argument lists, prefix matching, page reports
// and line completion.
#include "document/helpers/commandline.h"
#include "document/helpers/editorcommand.h"
#include "document/helpers/linesplitter.h"
#include "document/helpers/pagereport.h"
#include "document/helpers/prefixmatch.h"
#include "document/helpers/problemdiff.h"

#include <QtTest>

class TestDocumentHelpers : public QObject {
    Q_OBJECT

private slots:
    void argumentsOfCommandLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("basename");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("twice") << "/bin/echo %1 %1"
                               << "main" << QStringList{"/bin/echo", "main", "main"};
        QTest::newRow("two spaces") << "/bin/echo  %1"
                                    << "main" << QStringList{"/bin/echo", "", "main"};
        QTest::newRow("spaces at both ends") << " /bin/echo "
                                             << "m" << QStringList{"", "/bin/echo", ""};
        QTest::newRow("name with spaces")
            << "/bin/echo %1"
            << "my thesis" << QStringList{"/bin/echo", "my thesis"};
        QTest::newRow("name with spaces inside a word")
            << "/bin/tool -job=%1.out"
            << "a  b" << QStringList{"/bin/tool", "-job=a  b.out"};
        QTest::newRow("name like an option")
            << "/bin/tool %1 %1.aux -job=%1"
            << "-shell-escape"
            << QStringList{"/bin/tool", "./-shell-escape", "./-shell-escape.aux",
                           "-job=-shell-escape"};
        QTest::newRow("empty line") << ""
                                    << "main" << QStringList{""};
        QTest::newRow("tab is no separator") << "/bin/echo\t%1"
                                             << "m" << QStringList{"/bin/echo\tm"};
        QTest::newRow("inserted text not searched again")
            << "/bin/echo %1"
            << "%1x" << QStringList{"/bin/echo", "%1x"};
        QTest::newRow("inside a word") << "/bin/tool -job=%1.out"
                                       << "a" << QStringList{"/bin/tool", "-job=a.out"};
        QTest::newRow("left to right") << "/bin/echo %%11"
                                       << "b" << QStringList{"/bin/echo", "%b1"};
        QTest::newRow("no placeholder") << "/bin/true"
                                        << "main" << QStringList{"/bin/true"};
        QTest::newRow("shell characters stay literal")
            << "/bin/echo %1"
            << "a;$(id)'q\"" << QStringList{"/bin/echo", "a;$(id)'q\""};
    }
    void argumentsOfCommandLine() {
        QFETCH(QString, line);
        QFETCH(QString, basename);
        QFETCH(QStringList, expected);
        QCOMPARE(CommandLine::arguments(line, basename), expected);
    }

    void editorArguments_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected");
        const QString file = "/t/my %l dir/a.tex";
        QTest::newRow("file and line in one word") << "code -g %f:%l" << QStringList{"code", "-g", file + ":7"};
        QTest::newRow("no file placeholder") << "gedit" << QStringList{"gedit", file};
    }
    void editorArguments() {
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        QCOMPARE(EditorCommand::arguments(command, "/t/my %l dir/a.tex", 7), expected);
    }

    // What moves by itself is the same problem; another reference or file is another.
    void problemDiff() {
        const QStringList before{"Overfull \\hbox (1.5pt too wide) in paragraph at lines 20--21",
                                 "? ! Undefined control sequence.", "./a.tex:3: Undefined control sequence.",
                                 "LaTeX Warning: Reference `a' on page 1 undefined on input line 4.",
                                 "LaTeX Warning: Reference `a' on page 1 undefined on input line 4."};
        const QStringList after{"Overfull \\hbox (2.25pt too wide) in paragraph at lines 22--23",
                                "! Undefined control sequence.", "./b.tex:3: Undefined control sequence.",
                                "LaTeX Warning: Reference `b' on page 2 undefined on input line 9.",
                                "LaTeX Warning: Reference `a' on page 2 undefined on input line 9."};
        const ProblemDiff::Result result = ProblemDiff::compare(before, after);
        QCOMPARE(result.added, QList<int>({2, 3}));
        QCOMPARE(result.resolved, 2);
    }

    void prefixMatching_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("strings");
        QTest::addColumn<bool>("found");
        const QStringList errors{"!", "LaTeX Error", "I found no "};
        QTest::newRow("first entry") << "! Undefined control sequence.\n" << errors << true;
        QTest::newRow("later entry") << "I found no \\citation commands\n" << errors << true;
        QTest::newRow("inside the line") << "x ! not at start\n" << errors << false;
        QTest::newRow("indented") << " LaTeX Error\n" << errors << false;
        QTest::newRow("case") << "latex error: x\n" << errors << false;
        QTest::newRow("empty entry never matches") << "anything\n" << QStringList{""} << false;
        QTest::newRow("empty entry before a match") << "Warning\n"
                                                    << QStringList{"", "Warn"} << true;
        QTest::newRow("entry longer than line") << "LaTeX\n" << errors << false;
        QTest::newRow("empty list") << "! x\n" << QStringList{} << false;
        QTest::newRow("newline is part of the line") << "abc\n" << QStringList{"abc\n"} << true;
    }
    void prefixMatching() {
        QFETCH(QString, line);
        QFETCH(QStringList, strings);
        QFETCH(bool, found);
        QCOMPARE(checkError(line, strings), found);
    }

    void pageShape_data() {
        QTest::addColumn<QString>("pageString");
        QTest::addColumn<bool>("counts");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("prefix and suffix") << "(%n page" << true << 0 << "("
                                           << " page";
        QTest::newRow("prefix only") << "Pages: %n" << true << 1 << "Pages: "
                                     << "";
        QTest::newRow("suffix only") << "%n pages" << true << 2 << ""
                                     << " pages";
        QTest::newRow("neither") << "%n" << true << 3 << ""
                                 << "";
        QTest::newRow("second %n is text") << "%n of %n" << true << 2 << ""
                                           << " of %n";
        QTest::newRow("empty") << "" << false << 0 << ""
                               << "";
        QTest::newRow("no %n") << "pages" << false << 0 << ""
                               << "";
        QTest::newRow("capital N") << "%N" << false << 0 << ""
                                   << "";
    }
    void pageShape() {
        QFETCH(QString, pageString);
        QFETCH(bool, counts);
        const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
        QCOMPARE(shape.has_value(), counts);
        if (!counts)
            return;
        QTEST(shape->suffixPrefix, "shape");
        QTEST(shape->pagePrefix, "prefix");
        QTEST(shape->pageSuffix, "suffix");
    }

    void pageReport_data() {
        QTest::addColumn<QString>("pageString");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("pages");
        const QString dvi = QStringLiteral("Output written on main.dvi (12 pages, 80 bytes).\n");
        QTest::newRow("shape 0") << "(%n page" << dvi << 12;
        QTest::newRow("shape 0, one page") << "(%n page"
                                           << "Output written on a.pdf (1 page, 11802 bytes).\n"
                                           << 1;
        QTest::newRow("shape 0, no prefix") << "(%n page"
                                            << "no page report here\n"
                                            << -1;
        QTest::newRow("shape 0, last prefix wins") << "(%n page"
                                                   << "(3 x (5 pages\n"
                                                   << 5;
        QTest::newRow("shape 0, suffix missing") << "(%n page"
                                                 << "(42\n"
                                                 << 42;
        QTest::newRow("shape 0, white space skipped") << "(%n page"
                                                      << "(  7 pages\n"
                                                      << 7;
        QTest::newRow("shape 0, sign") << "(%n page"
                                       << "(-3 pages\n"
                                       << -3;
        QTest::newRow("shape 0, nothing numeric") << "(%n page"
                                                  << "(many pages\n"
                                                  << 0;
        QTest::newRow("shape 0, clamped high") << "(%n page"
                                               << "(99999999999 pages\n"
                                               << 2147483647;
        QTest::newRow("shape 0, clamped low") << "(%n page"
                                              << "(-99999999999 pages\n"
                                              << -2147483647 - 1;
        QTest::newRow("shape 1") << "Pages: %n"
                                 << "Pages: 7\n"
                                 << 7;
        QTest::newRow("shape 1, space before the number") << "Pages:%n"
                                                          << "Pages: 7\n"
                                                          << 0;
        QTest::newRow("shape 1, digits end at a non-digit") << "p=%n"
                                                            << "p=12x3\n"
                                                            << 12;
        QTest::newRow("shape 1, absent") << "Pages: %n"
                                         << "pages: 7\n"
                                         << -1;
        QTest::newRow("shape 2") << "%n pages"
                                 << "Output written on main.pdf (12 pages, 80 bytes).\n"
                                 << 12;
        QTest::newRow("shape 2, at line start") << "%n pages"
                                                << "34 pages\n"
                                                << 34;
        QTest::newRow("shape 2, no digits before") << "%n pages"
                                                   << "some pages\n"
                                                   << 0;
        QTest::newRow("shape 2, absent") << "%n pages"
                                         << "12 page\n"
                                         << -1;
        QTest::newRow("shape 3") << "%n"
                                 << "[1] [2] [3]\n"
                                 << 3;
        QTest::newRow("shape 3, last number") << "%n" << dvi << 80;
        QTest::newRow("shape 3, at start") << "%n"
                                           << "2048\n"
                                           << 2048;
        QTest::newRow("shape 3, no digit") << "%n"
                                           << "none here\n"
                                           << -1;
        QTest::newRow("shape 3, other digit script")
            << "%n" << QString::fromUtf8("page \u0663\u0664\n") << 34;
    }
    void pageReport() {
        QFETCH(QString, pageString);
        QFETCH(QString, line);
        const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
        QVERIFY(shape);
        QTEST(PageReport::checkPage(line, *shape), "pages");
    }

    void unknownShapeAnswersNothing() {
        PageShape shape{4, QStringLiteral("("), QStringLiteral(" page")};
        QCOMPARE(PageReport::checkPage(u"(3 pages\n", shape), -1);
    }

    void lineCompletion() {
        QString fraction;
        fraction += QStringLiteral("first li");
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), QString());
        QCOMPARE(fraction, QStringLiteral("first li"));
        fraction += QStringLiteral("ne\r\nsecond\n\nthi");
        QCOMPARE(LineSplitter::takeCompleteLines(fraction),
                 QStringLiteral("first line\r\nsecond\n\n"));
        QCOMPARE(fraction, QStringLiteral("thi"));
        fraction += QStringLiteral("rd\r");
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), QString());
        fraction += QStringLiteral("\n");
        QCOMPARE(LineSplitter::takeCompleteLines(fraction), QStringLiteral("third\r\n"));
        QVERIFY(fraction.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestDocumentHelpers)
#include "test_document_helpers.moc"
