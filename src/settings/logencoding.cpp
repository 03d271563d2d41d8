#include "logencoding.h"

#include <QCollator>
#include <algorithm>

namespace {
struct KnownEncoding {
    quint32 mib;
    const char *name;
    const char *display;
};

// The encodings TeX users meet, with the IANA names that Qt's converters (ICU) accept.
constexpr KnownEncoding kKnown[] = {
    {106, "UTF-8", "Unicode (UTF-8)"},
    {1015, "UTF-16", "Unicode (UTF-16)"},
    {3, "US-ASCII", "ASCII"},
    {4, "ISO-8859-1", "Western (ISO Latin 1)"},
    {5, "ISO-8859-2", "Central European (ISO Latin 2)"},
    {6, "ISO-8859-3", "Western (ISO Latin 3)"},
    {7, "ISO-8859-4", "Central European (ISO Latin 4)"},
    {8, "ISO-8859-5", "Cyrillic (ISO 8859-5)"},
    {9, "ISO-8859-6", "Arabic (ISO 8859-6)"},
    {10, "ISO-8859-7", "Greek (ISO 8859-7)"},
    {11, "ISO-8859-8", "Hebrew (ISO 8859-8)"},
    {12, "ISO-8859-9", "Turkish (ISO Latin 5)"},
    {109, "ISO-8859-13", "Baltic (ISO Latin 7)"},
    {111, "ISO-8859-15", "Western (ISO Latin 9)"},
    {2250, "windows-1250", "Central European (Windows Latin 2)"},
    {2251, "windows-1251", "Cyrillic (Windows)"},
    {2252, "windows-1252", "Western (Windows Latin 1)"},
    {2253, "windows-1253", "Greek (Windows)"},
    {2254, "windows-1254", "Turkish (Windows Latin 5)"},
    {2027, "macintosh", "Western (Mac OS Roman)"},
    {2084, "KOI8-R", "Cyrillic (KOI8-R)"},
    {2088, "KOI8-U", "Ukrainian (KOI8-U)"},
    {17, "Shift_JIS", "Japanese (Shift JIS)"},
    {18, "EUC-JP", "Japanese (EUC)"},
    {39, "ISO-2022-JP", "Japanese (ISO 2022-JP)"},
    {38, "EUC-KR", "Korean (EUC)"},
    {113, "GBK", "Chinese Simplified (GBK)"},
    {114, "GB18030", "Chinese Simplified (GB 18030)"},
    {2026, "Big5", "Chinese Traditional (Big 5)"},
};

const KnownEncoding *find(quint32 mib)
{
    for (const KnownEncoding &e : kKnown)
        if (e.mib == mib)
            return &e;
    return nullptr;
}

bool decodable(const KnownEncoding &e)
{
    return QStringDecoder(e.name).isValid();
}
} // namespace

namespace LogEncoding {

QList<Encoding> availableEncodings()
{
    static const QList<Encoding> list = [] {
        QList<Encoding> out;
        for (const KnownEncoding &e : kKnown)
            if (decodable(e))
                out.append({e.mib, QString::fromLatin1(e.display)});
        QCollator collator;
        std::sort(out.begin(), out.end(), [&](const Encoding &a, const Encoding &b) {
            return collator.compare(a.displayName, b.displayName) < 0;
        });
        return out;
    }();
    return list;
}

QString displayName(quint32 mib)
{
    const KnownEncoding *e = find(mib);
    return e ? QString::fromLatin1(e->display) : QString();
}

bool isAvailable(quint32 mib)
{
    const KnownEncoding *e = find(mib);
    return e && decodable(*e);
}

} // namespace LogEncoding

static QStringDecoder decoderFor(quint32 mib)
{
    const KnownEncoding *e = find(mib);
    if (e && decodable(*e))
        return QStringDecoder(e->name);
    return QStringDecoder(QStringConverter::Utf8);
}

// The length of the UTF-8 character that begins with lead; 1 for a byte that begins none.
static qsizetype utf8Length(uchar lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    return lead >= 0xC2 && lead <= 0xDF ? 2 : 1;
}

// How many bytes at the end of bytes are the start of a UTF-8 character whose remaining
// bytes are still to come: a lead byte and fewer continuation bytes than it announces.
static qsizetype unfinishedUtf8Tail(QByteArrayView bytes)
{
    const auto isContinuation = [](uchar b) { return (b & 0xC0) == 0x80; };
    qsizetype lead = bytes.size() - 1;
    while (lead >= 0 && lead > bytes.size() - 4 && isContinuation(uchar(bytes[lead])))
        --lead;
    if (lead < 0)
        return 0;
    const qsizetype present = bytes.size() - lead;
    return present < utf8Length(uchar(bytes[lead])) ? present : 0;
}

// The length of the front of bytes that can be decoded now. An unfinished character at the
// end may itself cut short the one before it, which the decoder would otherwise keep as
// its state; so all of them wait for the bytes that decide them.
static qsizetype decodableLength(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    while (const qsizetype tail = unfinishedUtf8Tail(QByteArrayView(bytes).first(end)))
        end -= tail;
    return end;
}

// The length of the front of bytes up to and including its last byte that no character
// of GB 18030, EUC-JP or ISO-2022-JP holds: a control character other than escape, or a
// space. Their multi-byte characters and escape sequences use only bytes above that.
static qsizetype lengthToLastBlank(const QByteArray &bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        if (uchar(bytes[i]) <= 0x20 && bytes[i] != '\x1b')
            return i + 1;
    return 0;
}

static bool dropsByteAfterCutCharacter(quint32 mib)
{
    // GB 18030, EUC-JP and ISO-2022-JP, found by feeding output in random chunks.
    return mib == 114 || mib == 18 || mib == 39;
}

LogDecoder::LogDecoder(quint32 mib) : m_decoder(decoderFor(mib))
{
    if (qstrcmp(m_decoder.name(), "UTF-8") == 0)
        m_holding = Holding::UnfinishedUtf8;
    else if (dropsByteAfterCutCharacter(mib))
        m_holding = Holding::AfterLastBlank;
}

QString LogDecoder::decode(const QByteArray &chunk)
{
    if (m_holding == Holding::None)
        return m_decoder.decode(chunk);
    QByteArray bytes = m_pending + chunk;
    const qsizetype complete = m_holding == Holding::UnfinishedUtf8 ? decodableLength(bytes)
                                                                   : lengthToLastBlank(bytes);
    m_pending = bytes.mid(complete);
    if (complete == 0)
        return {};
    bytes.truncate(complete);
    return m_decoder.decode(bytes);
}
