// The default first command, the real pdflatex, through the command button.
#include "documenttest.h"

using namespace DocumentTest;

class TestDocumentPdflatex : public DocumentTestCase {
    Q_OBJECT

    void typeset(const QByteArray &source, const QString &name = QStringLiteral("main.tex")) {
        openDocument(name, source);
        control<QPushButton>(*document, "buttonExe1")->click();
        QVERIFY(waitIdle(*document, 60000));
    }
    int lineStartingWith(const QString &start) { // indexOf wants the whole line to match
        return int(logLines(*document).indexOf(QRegularExpression(QRegularExpression::escape(start) + ".*")));
    }

private slots:
    void initTestCase() {
        Text::installTable();
        if (!QFileInfo::exists("/usr/bin/pdflatex"))
            QSKIP("pdflatex is not installed");
    }
    void init() { setUp(); }

    void undefinedControlSequenceIsOneError() {
        typeset("\\documentclass{article}\n\\begin{document}\nText \\undefinedthing\\ here.\n"
                "\\end{document}\n");
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("1"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("1"));
        const int error = lineStartingWith("! Undefined control sequence.");
        QVERIFY(error > 0 && lineFormat(*document, error).foreground().color() == gQuireonPrefs->errorColor());
        QVERIFY(lineStartingWith("Output written on main.pdf (1 page") > error);
        const QString command = logLines(*document).first().mid(MyDocument::promptPrefix.size());
        QCOMPARE(command, QString(gQuireonPrefs->cmdCmdAtIndex(0)).replace("%1", "main"));
        QCOMPARE(status(), Text::format("ErrorStatus", {command}));
    }

    // After the first error TeX's prompt starts the next error's line; a name with spaces
    // reaches pdflatex as one argument and leaves no stray files.
    void twoErrorsInAFileNamedWithSpaces() {
        typeset("\\documentclass{article}\n\\begin{document}\nOne.\\newpage "
                "Two \\undefinedA\\ and \\undefinedB.\n\\end{document}\n", "my thesis.tex");
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("2"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("1")); // the input quits
        for (const QString &file : QDir(dir->path()).entryList(QDir::Files))
            QVERIFY2(file.startsWith("my thesis."), qPrintable(file));
        QVERIFY(QFileInfo::exists(dir->filePath("my thesis.pdf")));
    }

    void cleanDocumentIsDone() {
        typeset("\\documentclass{article}\n\\begin{document}\nOne.\\newpage Two.\n\\end{document}\n");
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("0"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("2"));
        QVERIFY(status().startsWith(Text::format("DoneStatus", {""})));
        QVERIFY(QFileInfo::exists(dir->filePath("main.pdf")));
        // The run that wrote the PDF enabled its open button when it ended.
        QVERIFY(control<QPushButton>(*document, "buttonFile1")->isEnabled());
    }
};

QTEST_MAIN(TestDocumentPdflatex)
#include "test_document_pdflatex.moc"
