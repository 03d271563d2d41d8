// The log view, fed the way a build feeds it: output in chunks that end anywhere, read by
// the build's log reader with the rules of the settings.
#include "documenttest.h"
#include "engine/logreader.h"
#include "feedback/logfollower.h"
#include "settings/buildsettingsread.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

using namespace DocumentTest;

class TestDocumentScanner : public DocumentTestCase {
    Q_OBJECT
    QList<int> counts() {
        return {fieldText(*document, "textNumErrors").toInt(),
                fieldText(*document, "textNumWarnings").toInt(),
                fieldText(*document, "textNumNotes").toInt()};
    }
    QColor colorOfLine(int line) { return lineFormat(*document, line).foreground().color(); }
    std::unique_ptr<LogReader> reader;
    void readWithSettings() {
        reader = std::make_unique<LogReader>(buildSettingsOf(*gQuireonPrefs).logRules, dir->path());
    }
    void feed(const QString &output) { document->showLogLines(reader->take(output)); }

private slots:
    void init() {
        setUp();
        openDocument();
        readWithSettings();
    }

    // The log is set smaller than the rest of the window, for dense text, but never below
    // 7 points; clearing it (Ctrl+K, or a new run) sets it so for whatever the font is now.
    void logTextIsSmallerButReadable() {
        const QFont original = QApplication::font();
        const auto restore = qScopeGuard([&] { QApplication::setFont(original); });
        for (const qreal size : {13.0, 7.5}) {
            QFont font = original;
            font.setPointSizeF(size);
            QApplication::setFont(font);
            document->clearLog();
            const qreal logSize = logView(*document)->font().pointSizeF();
            QVERIFY2(logSize < size && logSize >= 7.0, qPrintable(QString::number(logSize)));
        }
    }

    // A warning's place may arrive with a later chunk of the output, also for a warning of
    // the very first chunk.
    void aPlaceThatArrivesLaterStillLeadsToTheSource() {
        writeFile(dir->filePath("a.tex"));
        feed(QStringLiteral("(./a.tex\nPackage natbib Warning: W\n"));
        feed(QStringLiteral("(natbib)   on input line 12.\n"));
        const auto place = LogFollower::locationOf(logView(*document)->document()->findBlockByNumber(1));
        QVERIFY(place && place->line == 12 && place->file.endsWith("/a.tex"));
    }

    void linesAreCompletedAcrossChunks() {
        feed(QStringLiteral("one\ntwo\nthree\n"));
        QCOMPARE(logLines(*document), (QStringList{"one", "two", "three"}));
        feed(QStringLiteral("LaTeX Wa"));
        QVERIFY(logLines(*document).size() == 3 && counts() == QList<int>({0, 0, 0}));
        feed(QStringLiteral("rning: split\nOverfull"));
        QCOMPARE(logLines(*document).last(), QStringLiteral("LaTeX Warning: split"));
        QCOMPARE(counts(), (QList<int>{0, 1, 0}));
        feed(QStringLiteral(" \\hbox\n"));
        QCOMPARE(counts(), (QList<int>{0, 1, 1}));
        QCOMPARE(colorOfLine(4), gQuireonPrefs->noteColor());
    }

    void linesAreClassified_data() {
        // style: regular, bold, error, warning, note
        TestSupport::columns<QString, QList<int>, QString, QStringList, QStringList, bool>(
            {"line", "expected", "style", "errors", "warnings", "checkErrors"});
        const auto row = [](const char *name, const char *line, QList<int> counts,
                            const char *style, QStringList errors = {"!", "Quireon Error:"},
                            QStringList warnings = {"LaTeX Warning"}, bool checkErrors = true) {
            QTest::newRow(name) << QString(line) << counts << QString(style) << errors << warnings
                                << checkErrors;
        };
        row("error", "! Undefined control sequence.\n", {1, 0, 0}, "error");
        row("warning", "LaTeX Warning: Label(s) may have changed.\n", {0, 1, 0}, "warning");
        row("note", "Underfull \\vbox\n", {0, 0, 1}, "note");
        row("plain", "(./main.aux)\n", {0, 0, 0}, "regular");
        row("prompt never counted", "Quireon> ! not an error\n", {0, 0, 0}, "bold");
        row("error and warning prefix", "Fo ba z\n", {1, 0, 0}, "error", {"Fo"}, {"Fo ba"});
        row("errors off fall through", "Fo ba z\n", {0, 1, 0}, "warning", {"Fo"}, {"Fo ba"}, false);
        row("after TeX's prompt", "? ! Undefined control sequence.\n", {1, 0, 0}, "error");
        row("after two prompts", "? ? LaTeX Warning: x\n", {0, 1, 0}, "warning");
        row("carriage return kept in the line", "! with CR\r\n", {1, 0, 0}, "error");
    }
    void linesAreClassified() {
        QFETCH(QStringList, errors);
        QFETCH(QStringList, warnings);
        QFETCH(bool, checkErrors);
        QFETCH(QString, line);
        QFETCH(QString, style);
        gQuireonPrefs->setErrorStrArray(errors);
        gQuireonPrefs->setWarningStrArray(warnings);
        gQuireonPrefs->setCheckErrors(checkErrors);
        readWithSettings();

        feed(line + QStringLiteral("after\n"));
        QTEST(counts(), "expected");
        const QMap<QString, QColor> colors{{"error", gQuireonPrefs->errorColor()},
                                           {"warning", gQuireonPrefs->warningColor()},
                                           {"note", gQuireonPrefs->noteColor()}};
        if (style != QLatin1String("bold"))
            QCOMPARE(colorOfLine(0), colors.value(style, Qt::black));
        QCOMPARE(lineFormat(*document, 0).fontWeight() == QFont::Bold, style == "bold");
        // The style ends with the line: the next line is regular.
        QCOMPARE(logLines(*document).at(1), QStringLiteral("after"));
        QCOMPARE(colorOfLine(1), QColor(Qt::black));
        QVERIFY(lineFormat(*document, 1).fontWeight() != QFont::Bold);
    }

    void checkSwitchesTurnClassesOff() {
        gQuireonPrefs->setCheckWarnings(false);
        gQuireonPrefs->setCheckNotes(false);
        readWithSettings();
        feed(QStringLiteral("LaTeX Warning: a\nOverfull \\hbox\n! err\n"));
        QCOMPARE(counts(), (QList<int>{1, 0, 0}));
        QCOMPARE(colorOfLine(0), QColor(Qt::black));
    }

    void countersAreClearedTogether() {
        feed(QStringLiteral("! a\n! b\nLaTeX Warning\n"));
        QCOMPARE(counts(), (QList<int>{2, 1, 0}));
        document->clearLog();
        QVERIFY(logLines(*document).isEmpty() && counts() == QList<int>({2, 1, 0})); // kept
        document->clearCounters();
        QCOMPARE(counts(), (QList<int>{0, 0, 0}));
    }

    void logFollowsItsEnd() {
        document->showWindow();
        QScrollBar *bar = logView(*document)->verticalScrollBar();
        for (int chunk = 0; chunk < 5; ++chunk) {
            feed(QStringLiteral("a line of the log\n").repeated(100));
            QVERIFY(bar->maximum() > 0);
            QCOMPARE(bar->value(), bar->maximum());
        }
    }

    // A log over its limit in one line has no whole line to let go: it is kept as it is,
    // and no cut is reported.
    void aLogOfOneLongLineIsKeptWhole() {
        QTextDocument log(QString(LogBound::kMaxCharacters + 10, u'x'));
        LogBound bound;
        QVERIFY(!bound.enforce(log, [](qint64) { return QStringLiteral("note\n"); }, {}));
        QCOMPARE(log.characterCount(), LogBound::kMaxCharacters + 11);
    }

    // A flood keeps only the newest lines, under a first line that tells how much went.
    void aFloodKeepsTheLogBounded_data() {
        TestSupport::columns<QString, int>({"chunk", "chunks"});
        const int overTwice = 2 * LogBound::kMaxCharacters / 1000 + 1;
        QTest::newRow("long lines") << QString(999, u'x') + u'\n' << overTwice;
        QTest::newRow("short lines")
            << QStringLiteral("y\n").repeated(500) << 2 * LogBound::kMaxLines / 500 + 1;
        QTest::newRow("no newline at all") << QString(1000, u'z') << overTwice;
    }
    void aFloodKeepsTheLogBounded() {
        QFETCH(QString, chunk);
        QFETCH(int, chunks);
        qint64 written = 0;
        for (int i = 0; i < chunks; ++i, written += chunk.size())
            feed(chunk);
        feed(QStringLiteral("\n! last\n"));
        const QTextDocument *log = logView(*document)->document();
        QVERIFY(log->characterCount() <= LogBound::kMaxCharacters);
        QVERIFY(log->blockCount() <= LogBound::kMaxLines);
        QVERIFY(log->characterCount() > LogBound::kMaxCharacters / 2 ||
                log->blockCount() > LogBound::kMaxLines / 2);
        QCOMPARE(logLines(*document).last(), QStringLiteral("! last"));
        const QString note = log->firstBlock().text();
        QVERIFY(note.startsWith(MyDocument::promptPrefix));
        const qint64 leftOut = QRegularExpression("\\d+").match(note).captured().toLongLong();
        // Every character is either kept or counted (a long unfinished line gains a newline).
        const qint64 kept = log->characterCount() - 1 - log->firstBlock().length();
        QVERIFY(qAbs(leftOut + kept - (written + 8)) < 100);
        QCOMPARE(lineFormat(*document, 0).fontWeight(), int(QFont::Bold));
    }
};

QTEST_MAIN(TestDocumentScanner)
#include "test_document_scanner.moc"
