#pragma once

#include <QList>
#include <QString>
#include <QStringDecoder>
#include <memory>

// Log encodings are named by their IANA MIB numbers.
namespace LogEncoding {
constexpr quint32 Utf8Mib = 106;

struct Encoding {
    quint32 mib;
    QString displayName;
};

// The encodings this system can decode, sorted by display name.
QList<Encoding> availableEncodings();
QString displayName(quint32 mib);
bool isAvailable(quint32 mib);
} // namespace LogEncoding

// Decodes a child's output chunk by chunk. State is kept between chunks, so a character
// split between two reads comes out whole; invalid bytes become U+FFFD and the rest of
// the chunk is kept. An unknown encoding falls back to UTF-8.
class LogDecoder
{
public:
    explicit LogDecoder(quint32 mib);
    QString decode(const QByteArray &chunk);

private:
    // Qt 6.4's decoders drop the byte that follows an unfinished character in the next
    // chunk when that byte cannot continue it (a newline, say). So for the encodings where
    // that happens, the bytes that could still be part of a character are kept here, not
    // in the decoder, until the bytes that decide them have come.
    enum class Holding { None, UnfinishedUtf8, AfterLastBlank };

    QStringDecoder m_decoder;
    Holding m_holding = Holding::None;
    QByteArray m_pending;
};
