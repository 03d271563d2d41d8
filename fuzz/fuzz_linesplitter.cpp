// Line completion across chunks with the stateful decoder. The input is a child's raw
// output; it is fed through a fresh LogDecoder and the line completer whole, one byte at a
// time and in chunks of pseudo-random sizes. Every way must give the same lines, and in
// UTF-8 the same text as decoding the complete lines at once.
#include "fuzzsupport.h"

#include "document/helpers/linesplitter.h"
#include "settings/logencoding.h"

#include <QList>
#include <random>

namespace {
struct Completed {
    QString lines;    // every complete line, in order
    QString fraction; // the unfinished rest
};

Completed feed(quint32 mib, const QByteArray &output, const QList<qsizetype> &chunkSizes) {
    LogDecoder decoder(mib);
    Completed out;
    qsizetype at = 0;
    for (qsizetype i = 0; at < output.size(); ++i) {
        const qsizetype size =
            chunkSizes.isEmpty() ? output.size() : chunkSizes[i % chunkSizes.size()];
        out.fraction += decoder.decode(output.mid(at, size));
        at += size;
        const QString lines = LineSplitter::takeCompleteLines(out.fraction);
        Fuzz::check(lines.isEmpty() || lines.endsWith(u'\n'), "complete lines end with a newline",
                    [&] { return Fuzz::shown(lines); });
        Fuzz::check(!out.fraction.contains(u'\n'), "the unfinished rest holds no newline",
                    [&] { return Fuzz::shown(out.fraction); });
        out.lines += lines;
    }
    return out;
}

QList<qsizetype> randomChunkSizes(const QByteArray &output, qsizetype largest) {
    std::minstd_rand random(uint32_t(qHash(output)));
    QList<qsizetype> sizes;
    for (int i = 0; i < 64; ++i)
        sizes.append(qsizetype(random() % largest) + 1);
    return sizes;
}

void checkSameLines(const Completed &whole, const Completed &chunked, const char *how,
                    quint32 mib) {
    Fuzz::check(chunked.lines == whole.lines, how, [&] {
        return QStringLiteral("MIB %1: %2 instead of %3")
            .arg(mib)
            .arg(Fuzz::shown(chunked.lines), Fuzz::shown(whole.lines));
    });
    Fuzz::check(chunked.fraction == whole.fraction, how, [&] {
        return QStringLiteral("MIB %1: unfinished rest %2 instead of %3")
            .arg(mib)
            .arg(Fuzz::shown(chunked.fraction), Fuzz::shown(whole.fraction));
    });
}

// UTF-8 never uses the byte \n inside a character, so the complete lines are the text of
// the bytes up to the last \n (both drop one byte order mark at the start).
void checkAgainstUtf8(const QByteArray &output, const Completed &whole) {
    const QByteArray complete = output.left(output.lastIndexOf('\n') + 1);
    Fuzz::check(whole.lines == QString::fromUtf8(complete),
                "the lines are the UTF-8 text up to the last newline",
                [&] { return Fuzz::shown(whole.lines); });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray output = Fuzz::bytes(data, size);
    const Completed whole = feed(LogEncoding::Utf8Mib, output, {});
    checkAgainstUtf8(output, whole);
    checkSameLines(whole, feed(LogEncoding::Utf8Mib, output, {1}), "byte by byte as whole",
                   LogEncoding::Utf8Mib);
    checkSameLines(whole, feed(LogEncoding::Utf8Mib, output, randomChunkSizes(output, 8)),
                   "small chunks as whole", LogEncoding::Utf8Mib);
    checkSameLines(whole, feed(LogEncoding::Utf8Mib, output, randomChunkSizes(output, 200)),
                   "larger chunks as whole", LogEncoding::Utf8Mib);

    // One other log encoding, picked by the input, split into small chunks.
    const QList<LogEncoding::Encoding> encodings = LogEncoding::availableEncodings();
    const quint32 mib = encodings[qsizetype(qHash(output) % encodings.size())].mib;
    checkSameLines(feed(mib, output, {}), feed(mib, output, randomChunkSizes(output, 4)),
                   "small chunks as whole in another encoding", mib);
    return 0;
}
