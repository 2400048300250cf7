#pragma once

#include <QByteArray>
#include <QString>

// The player's files are opened only if they are regular files: a FIFO or a
// device under the same name would block the window or never end.

// Opens `path` with the open(2) `flags` without waiting (a FIFO would wait for
// a writer) and only if the open file itself is a regular file, so nothing
// can take its place after the check. Returns the descriptor, or -1 with
// `error` saying why (the errno kept in `errorNumber` when it is the system's).
int openRegularFile(const QString &path, int flags, QString *error, int *errorNumber = nullptr);

// Reading the start of one of the player's data files, up to a bound.
struct RegularFileRead {
    QByteArray bytes;   // the first bytes of the file, at most the bound
    bool cut = false;   // the file goes on beyond the bound
    QString error;      // why the file could not be read; empty when it was

    bool ok() const { return error.isEmpty(); }
};

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes);

// The same for a file already open: read from its start whatever its offset,
// and never further than the bound, however long the file is.
RegularFileRead readFileStart(int fd, qint64 maxBytes);
