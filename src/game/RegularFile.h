#pragma once

#include <QByteArray>
#include <QString>

// Reading one of the player's data files: only a regular file is opened (a
// FIFO or a device under the same name would block start-up or never end),
// and no more than a bound is read, whatever the file's size.
struct RegularFileRead {
    QByteArray bytes;   // the first bytes of the file, at most the bound
    bool cut = false;   // the file goes on beyond the bound
    QString error;      // why the file could not be read; empty when it was

    bool ok() const { return error.isEmpty(); }
};

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes);
