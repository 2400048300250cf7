#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The best-99 list and its file lista99.txt. Index i holds place i + 1;
// index 99 is a spill slot that a new entry pushes the former place 99 into.
// It is never shown, saved or counted.
constexpr int bestListPlaces = 99;

struct BestList {
    std::array<QString, 100> names;
    std::array<QString, 100> dates;      // "dd.mm.yy"
    std::array<std::int16_t, 100> scores{};
};

// The four check numbers on line 1 of the file.
struct CheckNumbers {
    std::int32_t name = 0;   // sum of the Windows-1252 codes of the names' first characters (empty name: 0)
    std::int32_t date = 0;   // the same for the dates
    std::int32_t score = 0;  // sum of the 99 scores
    std::int16_t digit = 0;  // sum of the codes of the last characters of the decimal texts of the three above
    bool operator==(const CheckNumbers &other) const;
    bool operator!=(const CheckNumbers &other) const { return !(*this == other); }
};

CheckNumbers computeCheckNumbers(const BestList &list);

// The index of the place a score earns: the first listed score it beats, so
// that an equal score goes below. -1 when it beats none of the 99.
int earnedPlace(const BestList &list, int score);

// A list file read whole: the records and the check numbers stored on line 1.
struct BestListFile {
    BestList list;
    CheckNumbers stored;
};

// The bytes of lista99.txt read at most. The program writes lines of a few
// dozen bytes; a kilobyte for each of the 100 lines leaves room for names and
// blanks edited by hand, and a file that runs on for megabytes past its list
// costs no more than the list.
constexpr qint64 bestListByteLimit = 100 * 1024;

// Reads the file's bytes. Fields are separated by commas and line ends (CR LF,
// LF or CR): four check numbers, then 99 times name, date, score; whatever
// follows is ignored. On failure returns nothing and sets `error` to a
// Finnish message that names the line at fault (too few fields, text where a
// number belongs, a number out of range). `cut`: the bytes stop inside the
// file, so their last field may be only part of one and is left out; the list
// must then end within them.
std::optional<BestListFile> parseBestList(const QByteArray &bytes, QString *error, bool cut = false);

// The file's bytes: exactly 100 lines, each ended by CR LF, Windows-1252.
QByteArray formatBestList(const BestList &list, const CheckNumbers &numbers);

// A name as the file can carry it: characters outside Windows-1252, commas,
// double quotes and control characters (line breaks among them) become '?'.
QString storableName(const QString &name);

// Writes the bytes over `path` atomically: the temporary file
// temporarySaveName(path) in the same folder is written, flushed to disk and
// renamed over the old one, so a crash leaves either the old file or the new
// one. The new file gets the old one's mode, and its owner and group where
// the system allows. Returns an empty string on success, or the reason of the
// failure (the old file is then untouched). `path` must not be a symlink:
// the link itself would be replaced (see SafeListWrite.h).
QString temporarySaveName(const QString &path);
QString saveFileAtomically(const QString &path, const QByteArray &bytes);

// Writes all of `bytes` to the open file at its current offset, going on
// after interrupted or partial writes. False with errno set on failure.
bool writeAll(int fd, const QByteArray &bytes);
