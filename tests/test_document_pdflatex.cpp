// The default first command, the real pdflatex, through the command button.
#include "document/mydocument.h"
#include "documenttest.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QPushButton>
#include <QtTest>

using namespace DocumentTest;

class TestDocumentPdflatex : public QObject {
    Q_OBJECT
    std::unique_ptr<QuireonPrefs> prefs;
    QTemporaryDir dir;

    std::unique_ptr<MyDocument> typeset(const QByteArray &source,
                                        const QString &name = QStringLiteral("main.tex")) {
        auto document = std::make_unique<MyDocument>();
        document->setFileName(writeFile(dir.filePath(name), source));
        auto *button = document->myWindow()->findChild<QPushButton *>("buttonExe1");
        if (!button->isEnabled())
            return document;
        button->click();
        if (!QTest::qWaitFor([&] { return !document->isRunning(); }, 60000))
            qWarning("pdflatex did not finish");
        return document;
    }
    int lineStartingWith(MyDocument &document, const QString &start) {
        const QStringList lines = logLines(document);
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(start))
                return i;
        return -1;
    }

private slots:
    void initTestCase() {
        Text::installTable();
        if (!QFileInfo::exists("/usr/bin/pdflatex"))
            QSKIP("pdflatex is not installed");
    }
    void init() { prefs = freshPrefs(); }

    void undefinedControlSequenceIsOneError() {
        auto document =
            typeset("\\documentclass{article}\n\\begin{document}\nText \\undefinedthing\\ here.\n"
                    "\\end{document}\n");
        QVERIFY(!document->isRunning());
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("1"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("1"));
        const int error = lineStartingWith(*document, "! Undefined control sequence.");
        QVERIFY(error > 0);
        QCOMPARE(lineFormat(*document, error).foreground().color(), gQuireonPrefs->errorColor());
        QVERIFY(lineStartingWith(*document, "Output written on main.pdf (1 page") > error);
        const QString command = logLines(*document).first().mid(MyDocument::promptPrefix.size());
        QCOMPARE(command, QString(gQuireonPrefs->cmdCmdAtIndex(0)).replace("%1", "main"));
        QCOMPARE(fieldText(*document, "statusField"), Text::format("ErrorStatus", {command}));
    }

    // After the first error TeX's prompt starts the next error's line; a name with spaces
    // reaches pdflatex as one argument and leaves no stray files.
    void twoErrorsInAFileNamedWithSpaces() {
        QTemporaryDir folder;
        dir.swap(folder);
        auto document = typeset("\\documentclass{article}\n\\begin{document}\nOne.\\newpage "
                                "Two \\undefinedA\\ and \\undefinedB.\n\\end{document}\n",
                                "my thesis.tex");
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("2"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("1")); // the input quits
        for (const QString &file : QDir(dir.path()).entryList(QDir::Files))
            QVERIFY2(file.startsWith("my thesis."), qPrintable(file));
        QVERIFY(QFileInfo::exists(dir.filePath("my thesis.pdf")));
    }

    void cleanDocumentIsDone() {
        auto document = typeset(
            "\\documentclass{article}\n\\begin{document}\nOne.\\newpage Two.\n\\end{document}\n");
        QCOMPARE(fieldText(*document, "textNumErrors"), QStringLiteral("0"));
        QCOMPARE(fieldText(*document, "textNumPages"), QStringLiteral("2"));
        QVERIFY(fieldText(*document, "statusField").startsWith(Text::format("DoneStatus", {""})));
        QVERIFY(QFileInfo::exists(dir.filePath("main.pdf")));
        // The run that wrote the PDF enabled its open button when it ended.
        QVERIFY(document->myWindow()->findChild<QPushButton *>("buttonFile1")->isEnabled());
    }
};

QTEST_MAIN(TestDocumentPdflatex)
#include "test_document_pdflatex.moc"
