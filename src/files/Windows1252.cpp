#include "files/Windows1252.h"

#include <array>

namespace windows1252 {

namespace {

// Bytes 0x80..0x9F. The rest of the code page equals Latin-1, so only this
// block needs a table. The undefined bytes keep the C1 control of their value.
constexpr std::array<char16_t, 32> highBlock = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(highBlock.size()); ++i) {
        if (highBlock[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(highBlock[b - 0x80]) : QChar(b);
    }
    return text;
}

bool canEncode(QChar c)
{
    return byteOf(c.unicode()) >= 0;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character outside the BMP is one '?', not one per surrogate.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes.append(char(code(c)));
    }
    return bytes;
}

int code(QChar c)
{
    const int byte = byteOf(c.unicode());
    return byte >= 0 ? byte : '?';
}

} // namespace windows1252
