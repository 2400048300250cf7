#pragma once

#include <QString>

// What the games file looks like before SQLite opens it, read cheaply: at
// every start, and a file of a hundred megabytes must not cost a full check.
enum class FileCondition {
    Missing,    // no file, or an empty one: made anew
    Plausible,  // an SQLite header, and as many pages as the header says
    Damaged,    // not an SQLite file, or cut short
    Folder,     // a folder in the file's place
};

// The header's magic words and page size and, while no -wal file may carry
// the missing pages, the header's page count against the file's size: a file
// that is not SQLite's, or was cut short, is known before any connection is
// made. The rest of the damage a file can have shows where it is read.
FileCondition inspectGamesFile(const QString &path);

// Moves a damaged file aside to "<path>.vioittunut" (".vioittunut.2", ... if
// taken) with its -wal and -shm files beside it under the same new name, so
// that SQLite still reads them together. Nothing is deleted. Returns the new
// name, or "" with `error` set.
QString moveAside(const QString &path, QString *error);
