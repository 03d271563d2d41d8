// Tool output cut into chunks at any byte: each row is a case the fuzz targets (fuzz/) once
// found breaking a property, reduced to what shows it.
#include "document/helpers/linesplitter.h"
#include "document/helpers/pagereport.h"
#include "engine/logreader.h"
#include "settings/logencoding.h"
#include "testsupport.h"

#include <QtTest>

namespace {
// The complete lines of a child's output that arrived in the given chunks, decoded and
// completed the way the runner and the log scanner do it.
QString completeLines(const QList<QByteArray> &chunks, quint32 mib) {
    LogDecoder decoder(mib);
    QString fraction;
    QString lines;
    for (const QByteArray &chunk : chunks) {
        fraction += decoder.decode(chunk);
        lines += LineSplitter::takeCompleteLines(fraction);
    }
    return lines;
}
} // namespace

class TestChunkedOutput : public QObject {
    Q_OBJECT

private slots:
    // Output that never ends its line is handed on in pieces of at most a megabyte, each a
    // line of its own, so a build's memory stays bounded; what follows is read as before.
    void anEndlessLineIsCut() {
        LogRules rules;
        rules.errorStrings = {"!"};
        LogReader reader(rules, QStringLiteral("/tmp"));
        const QString piece(64 * 1024, u'x');
        qsizetype handed = 0, longest = 0;
        for (int i = 0; i < 48; ++i) { // 3 MiB
            const LogChunk chunk = reader.take(piece);
            for (const LogChunk::Line &line : chunk.lines)
                longest = std::max(longest, line.length);
            handed += chunk.text.size();
        }
        QVERIFY(longest <= LogReader::kMaxLineLength + piece.size() + 1);
        QVERIFY(handed >= 2 * LogReader::kMaxLineLength);
        const LogChunk rest = reader.take(QStringLiteral("\n! error after it\n"));
        QCOMPARE(rest.lines.last().kind, LineKind::Error);
        QCOMPARE(reader.counts().errors, 1);
    }

    // The scanner reads each line as a view into the whole chunk; the line after it must not
    // be taken for part of it.
    void pageReportOfALineInsideAChunk_data() {
        TestSupport::columns<QString, QString, int>({"pageString", "chunk", "pages"});
        QTest::newRow("next line begins with the prefix")
            << "(%n page"
            << "Output written on main.dvi (2 pages, 400 bytes).\n(./main.aux)\n"
            << 2;
        QTest::newRow("prefix only in the next line")
            << "(%n page"
            << "           \n(Press Enter to retry, or Control-D to exit)\n"
            << -1;
        QTest::newRow("one-character prefix") << "[%n"
                                              << "[3]\n[4]\n"
                                              << 3;
        QTest::newRow("one-character suffix") << "%n]"
                                              << "[3]\n]\n"
                                              << 3;
        QTest::newRow("suffix only in the next line") << "%n]"
                                                      << "no report\n]\n"
                                                      << -1;
    }
    void pageReportOfALineInsideAChunk() {
        QFETCH(QString, pageString);
        QFETCH(QString, chunk);
        const std::optional<PageShape> shape = PageReport::shapeOf(pageString);
        QVERIFY(shape);
        const QStringView firstLine = QStringView(chunk).first(chunk.indexOf(u'\n') + 1);
        QTEST(PageReport::checkPage(firstLine, *shape), "pages");
    }

    // An unfinished UTF-8 character at the end of a chunk: however the output is cut, the
    // lines are those of the output decoded at once, and every newline byte ends a line.
    void linesOfOutputCutInsideACharacter_data() {
        TestSupport::columns<uint, QList<QByteArray>>({"encoding", "chunks"});
        const uint utf8 = LogEncoding::Utf8Mib;
        QTest::newRow("cut character, newline next")
            << utf8 << QList<QByteArray>{"ab\xe3\x83", "\n! Undefined control sequence.\n"};
        QTest::newRow("lead byte, newline next") << utf8 << QList<QByteArray>{"\xc3", "\nx\n"};
        QTest::newRow("three of four bytes, newline next")
            << utf8 << QList<QByteArray>{"\xf0\x9f\x98", "\n\n"};
        QTest::newRow("cut character, letters next")
            << utf8 << QList<QByteArray>{"\xe3\x83", "xy\n"};
        QTest::newRow("cut character after a broken one")
            << utf8 << QList<QByteArray>{"\xf4", "\xf4", "\xf4", "\n"};
        QTest::newRow("character completed") << utf8
                                             << QList<QByteArray>{"Gr\xc3", "\xbc\xc3\x9f"
                                                                            "e\n"};
        QTest::newRow("one byte a chunk")
            << utf8 << QList<QByteArray>{"\xf0", "\x9f", "\x98", "\x80", "\n"};
        QTest::newRow("byte order mark cut")
            << utf8 << QList<QByteArray>{"\xef", "\xbb\xbf", "x\n"};
        // pdfTeX wraps its terminal lines after 79 bytes, also inside a character.
        QList<QByteArray> wrapped;
        for (char byte :
             QByteArray("\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\n\x88\xe3\x80\x81\n! x\n"))
            wrapped.append(QByteArray(1, byte));
        QTest::newRow("pdfTeX line wrapped inside a character, byte by byte") << utf8 << wrapped;
        QTest::newRow("GB 18030, cut four-byte start")
            << 114u << QList<QByteArray>{"\x81\x30", "\n", "4n\n"};
        QTest::newRow("GB 18030, cut after a digit")
            << 114u << QList<QByteArray>{" \xd0\x31", ".", "4n\n"};
        QTest::newRow("EUC-JP, cut three-byte start")
            << 18u << QList<QByteArray>{"\x8f\xa1", "\n", "x\n"};
        QTest::newRow("ISO-2022-JP, cut escape") << 39u << QList<QByteArray>{"\x1b$", "\n", "x\n"};
        QTest::newRow("Shift JIS, cut character") << 17u << QList<QByteArray>{"\x82", "\xa0\n"};
    }
    void linesOfOutputCutInsideACharacter() {
        QFETCH(uint, encoding);
        QFETCH(QList<QByteArray>, chunks);
        if (!LogEncoding::isAvailable(encoding))
            QSKIP("the encoding cannot be decoded here");
        const QByteArray output = chunks.join();
        const QString lines = completeLines(chunks, encoding);
        QCOMPARE(lines, completeLines({output}, encoding));
        QCOMPARE(lines.count(u'\n'), output.count('\n'));
        QCOMPARE(lines.split(u'\n').last(), QString());
    }
};

QTEST_APPLESS_MAIN(TestChunkedOutput)
#include "test_chunked_output.moc"
