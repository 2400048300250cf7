#pragma once

#include "files/RegularFile.h"
#include "toplist/BestListFile.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Several Kopperi windows may share one lista99.txt. Every write goes through
// changeBestListFile: it locks the list, reads it as it is now, applies the
// change to that list and writes it back, so no window writes over a result
// that another has stored since it last read the file.

// A result to store.
struct ListEntry {
    QString name;
    QString date;   // "dd.mm.yy"
    std::int16_t score = 0;
};

// Puts the entry at the place its score earns, below the entries with an
// equal score; the former place 99 drops into the spill slot. Returns the
// index it took, or -1 when the score beats no place (the list is unchanged).
int enterResult(BestList &list, const ListEntry &entry);

struct ListChangeOutcome {
    bool readWhole = false;  // `read` is the list as it was, `list` the changed one
    bool saved = false;
    bool missing = false;    // there was no file: `read` is the list given for that case
    bool fileKept = true;    // after a failure: the file is on disk as it was before
    BestList read;
    BestList list;
    QString where;           // the file itself, symlinks followed
    QString failure;         // why nothing was saved, in Finnish
};

// Takes the list's lock (waiting a few seconds for another window, taking over
// a lock that a crashed one left), reads the list, applies `change`,
// writes the result with fitting check numbers where the list really lives
// and releases the lock. A list that does not read whole is never written.
// A list that has gone missing is written anew from `whenMissing`, when given,
// with the change applied. Beside a symlink's target the list is replaced
// atomically; in a folder that cannot be written, but with a list that can,
// it is rewritten in place under the list's own lock.
ListChangeOutcome changeBestListFile(const QString &path, const std::function<void(BestList &)> &change,
                                     const BestList *whenMissing = nullptr);

// Removes the temporary file of a save that was killed half-way, under the
// same lock, so that a save running in another window keeps its own.
void removeAbandonedSave(const QString &path);

// The bytes of the list file, read once a window that rewrites the list in
// place is done, no further than bestListByteLimit. Only a regular file is
// read (symlinks followed).
RegularFileRead readListFile(const QString &path);
