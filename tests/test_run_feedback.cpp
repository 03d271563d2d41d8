// Following log lines of real pdflatex and bibtex runs to the source, and what changed
// between two real runs of an edited document.
#include "documenttest.h"
#include "feedback/editorlauncher.h"
#include "feedback/logfollower.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTextBlock>

using namespace DocumentTest;

// Line 3 refers to a missing label, line 6 overfills a box.
static const QByteArray kMain = "\\documentclass{article}\n\\begin{document}\nSee \\ref{nolabel}.\n"
                                "\\input{Chapter1/chapter1}\n\\input{\"my part/sec two\"}\n\\hbox to 1pt{wide text here}\n"
                                "\\cite{nokey}\\bibliographystyle{plain}\\bibliography{refs}\n\\end{document}\n";
static const QByteArray kChapter = "Chapter one.\n\n\\undefinedA here\n\nRef \\ref{x}.\n";
static const QString kPdflatex = "/usr/bin/pdflatex -interaction=nonstopmode -cnf-line=max_print_line=10000 %1";

class TestRunFeedback : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    QTemporaryDir dir;
    QString record;
    QString editor; // the stand-in editor, in a folder whose name has a space

    QTextBlock lineBlock(MyDocument &document, const QString &start, int occurrence = 0) {
        for (QTextBlock b = logView(document)->document()->begin(); b.isValid(); b = b.next())
            if (b.text().startsWith(start) && occurrence-- == 0)
                return b;
        return {};
    }
    void sendMouse(MyDocument &document, QEvent::Type type, const QTextBlock &block) {
        QPlainTextEdit *log = logView(document);
        log->setTextCursor(QTextCursor(block));
        log->ensureCursorVisible();
        const QPointF at = log->cursorRect().center() + QPointF(2, 0);
        QMouseEvent event(type, at, log->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(log->viewport(), &event);
    }
    // Shows the document with auto mode off: the saves below must not start runs of their own.
    void open(MyDocument &document, const QString &root) {
        document.setFileName(root);
        document.showWindow();
        control<QCheckBox>(document, "checkAutoMode")->click();
        QVERIFY(!document.autoRunModeOn());
    }
    int weight(const QTextBlock &block) { return block.begin().fragment().charFormat().fontWeight(); }
    // What the stand-in editor was started with: its folder, then its arguments.
    QStringList editorArguments() {
        if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 5000))
            return {};
        const QStringList lines = QString::fromUtf8(TestSupport::readFile(record)).split('\n', Qt::SkipEmptyParts);
        QFile::remove(record);
        return lines;
    }

private slots:
    void initTestCase() {
        Text::installTable();
        if (!QFileInfo::exists("/usr/bin/pdflatex") || !QFileInfo::exists("/usr/bin/bibtex"))
            QSKIP("pdflatex or bibtex is not installed");
        QVERIFY(QDir(dir.path()).mkpath("Chapter1") && QDir(dir.path()).mkpath("my part"));
        writeFile(dir.filePath("Chapter1/chapter1.tex"), kChapter);
        writeFile(dir.filePath("my part/sec two.tex"), "Second \\undefinedB.\n");
        writeFile(dir.filePath("refs.bib"), "@article{a,\n author = \"X\" \n title = \"T\"}\n");
        record = dir.filePath("editor.out");
        editor = dir.filePath("my editor/record editor.sh");
        QVERIFY(QDir(dir.path()).mkpath("my editor") && QFile::copy(TestSupport::fixture("record_editor.sh"), editor));
    }
    void init() {
        prefs = freshPrefs();
        setCommand(0, kPdflatex);
        setCommand(2, QString(kPdflatex).replace("%1", "-file-line-error %1"));
        gQuireonPrefs->setEditorCommand("\"" + editor + "\"  " + record + " '+%l' \"%f\"");
    }

    void linesLeadToTheSource_data() {
        TestSupport::columns<int, QString, int, QString, int>({"command", "line", "occurrence", "file", "lineNumber"});
        QTest::newRow("warning in the root") << 0 << "LaTeX Warning: Reference `nolabel'" << 0 << "main.tex" << 3;
        QTest::newRow("error in a chapter") << 0 << "! Undefined control sequence." << 0 << "Chapter1/chapter1.tex" << 3;
        QTest::newRow("warning after a parenthesis") << 0 << "LaTeX Warning: Reference `x'" << 0 << "Chapter1/chapter1.tex" << 5;
        QTest::newRow("error in a name with spaces") << 0 << "! Undefined control sequence." << 1 << "my part/sec two.tex" << 1;
        QTest::newRow("box note back in the root") << 0 << "Overfull \\hbox" << 0 << "main.tex" << 6;
        QTest::newRow("file-line-error") << 2 << "./my part/sec two.tex:1:" << 0 << "my part/sec two.tex" << 1;
        QTest::newRow("bibtex") << 1 << "I was expecting a `,'" << 0 << "refs.bib" << 3;
    }
    void linesLeadToTheSource() {
        QFETCH(int, command);
        QFETCH(QString, line);
        QFETCH(int, occurrence);
        QFETCH(QString, file);
        QFETCH(int, lineNumber);
        MyDocument document;
        open(document, writeFile(dir.filePath("main.tex"), kMain));
        QVERIFY(command != 1 || runCommand(document, 0)); // bibtex reads the .aux
        QVERIFY(runCommand(document, command));
        const QTextBlock block = lineBlock(document, line, occurrence);
        QVERIFY2(block.isValid(), qPrintable(logLines(document).join('\n')));

        sendMouse(document, QEvent::MouseMove, block);
        QCOMPARE(logView(document)->viewport()->cursor().shape(), Qt::PointingHandCursor);
        sendMouse(document, QEvent::MouseButtonDblClick, block);
        QCOMPARE(editorArguments(), QStringList({QFileInfo(dir.path()).canonicalFilePath(),
                                                 "+" + QString::number(lineNumber), dir.filePath(file)}));
    }

    // Lines without a place lead nowhere; Enter opens a line's file. A second run keeps
    // moved lines as the same problems; a fixed error is resolved, a new reference is new.
    void otherLinesLeadNowhereAndASecondRunSaysWhatChanged() {
        MyDocument document;
        const QString root = writeFile(dir.filePath("main.tex"), kMain);
        open(document, root);
        // Quireon's own lines other than the command it ran.
        const QRegularExpression own("^" + MyDocument::promptPrefix + "(?!.*pdflatex)");
        const auto summaries = [&] { return logLines(document).filter(own); };
        QVERIFY(runCommand(document, 0));
        QVERIFY(summaries().isEmpty());
        for (const QString start : {"LaTeX Warning: There were undefined references.", "Output written on",
                                    "l.3 \\undefinedA"}) {
            const QTextBlock block = lineBlock(document, start);
            QVERIFY2(block.isValid() && !LogFollower::locationOf(block), qPrintable(start));
            sendMouse(document, QEvent::MouseMove, block);
            QVERIFY(logView(document)->viewport()->cursor().shape() != Qt::PointingHandCursor);
        }
        gQuireonPrefs->setEditorCommand(""); // the desktop opens the file, without a line
        QStringList *opened = recordOpens();
        logView(document)->setTextCursor(QTextCursor(lineBlock(document, "LaTeX Warning: Reference `x'")));
        QTest::keyClick(logView(document), Qt::Key_Return);
        QCOMPARE(*opened, QStringList{dir.filePath("Chapter1/chapter1.tex")});

        QVERIFY(runCommand(document, 0)); // settles the .aux of the first run
        QCOMPARE(summaries().size(), 1);
        QByteArray edited = kMain;
        edited.replace("See", "\n\nSee \\ref{other} and");
        writeFile(root, edited);
        writeFile(dir.filePath("my part/sec two.tex"), "Second.\n");
        QVERIFY(runCommand(document, 0));
        QCOMPARE(summaries(), QStringList{MyDocument::promptPrefix + Text::format("ChangesSinceLastRun", {"1", "1"})});
        QCOMPARE(weight(lineBlock(document, "LaTeX Warning: Reference `other'")), int(QFont::Bold));
        QCOMPARE(weight(lineBlock(document, "LaTeX Warning: Reference `nolabel'")), int(QFont::Normal));
    }

    // An editor command with a quote left open starts nothing and tells the user.
    void anUnclosedQuoteStartsNoEditor() {
        const QString command = "\"" + editor + "\" " + record + " \"%f";
        gQuireonPrefs->setEditorCommand(command);
        Alerts::clearShown();
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        QVERIFY(!EditorLauncher::open({dir.filePath("refs.bib"), 3}, dir.path()));
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown().first().header, Text::localized("EditorErrorHeader"));
        QVERIFY(Alerts::shown().first().message.contains(command));
    }
};

QTEST_MAIN(TestRunFeedback)
#include "test_run_feedback.moc"
