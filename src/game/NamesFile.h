#pragma once

#include <QByteArray>
#include <QStringList>

// nimet.txt: remembered player names, one per line. Every line that is not
// empty is one name, as read but for its control and format characters (a
// byte-order mark anywhere among them): blanks kept, duplicates kept, any
// length. Lines end in CR LF, LF or a lone CR; the last needs no line break.
// The text is UTF-8 when its bytes are valid UTF-8, else Windows-1252, as
// older editors wrote it.

// At most this many names are read; the rest of a longer file is left unread.
constexpr int maxNames = 1000;
// The bytes read of nimet.txt at most: room for that many long names.
constexpr qint64 namesFileByteLimit = 256 * 1024;

// `cut`: the contents stop inside the file, so their last line may be only
// part of one and is left out.
QStringList readNames(QByteArray fileContents, bool cut = false);
