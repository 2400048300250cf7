#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The program's text files are Windows-1252 whatever the system locale says.
// Qt 6.4 has no codec for it, so the code page is mapped here by hand.
namespace windows1252 {

// Every byte decodes to one character. The five bytes that the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 control of the same
// value, so that decoding and encoding again gives back the same bytes.
QString decode(const QByteArray &bytes);

// True when the character has a byte of its own in the code page.
bool canEncode(QChar c);

// Characters without a byte of their own become '?'.
QByteArray encode(const QString &text);

// The byte value of a character in the code page: "ä" is 228, "€" is 128.
// A character that the code page cannot store counts as '?' (63).
int code(QChar c);

} // namespace windows1252
