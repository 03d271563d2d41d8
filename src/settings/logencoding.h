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
    QStringDecoder m_decoder;
    bool m_utf8 = false;
    // The unfinished UTF-8 characters at the end of the last chunk. They are kept here, not
    // in the decoder: Qt 6.4's UTF-8 decoder drops the byte that follows an unfinished
    // character in the next chunk when that byte cannot continue it (a newline, say).
    QByteArray m_pending;
};
