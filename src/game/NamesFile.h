#pragma once

#include <QByteArray>
#include <QStringList>

// nimet.txt: remembered player names, one per line, Windows-1252, CR LF.
// Every line that is not empty is one name, exactly as read (blanks kept,
// duplicates kept, any length); the last line needs no line break.
QStringList readNames(const QByteArray &fileContents);
