#pragma once

#include "toplist/SafeListWrite.h"

#include <QString>
#include <functional>
#include <vector>

// The window's best-99 list: the list it shows, the results it could not
// store yet, and every read and write of lista99.txt. The window asks it to
// add a result; it knows where the list lives.
class BestListKeeper {
public:
    struct Loading {
        QString failure;        // why the list could not be read; empty when it was
        bool unreadable = false; // the file could not be opened or read at all
        bool ok() const { return failure.isEmpty(); }
    };

    // Reads the list at start-up, once what a save killed half-way left
    // behind is gone.
    Loading load(const QString &path);

    // As last read from or written to the file, with the results not stored
    // yet entered at their places.
    const BestList &list() const { return shown_; }
    // The check numbers on the file's first line as start-up read them.
    const CheckNumbers &storedCheckNumbers() const { return stored_; }
    bool hasUnsavedResults() const { return !unsaved_.empty(); }

    // Reads the file as it is now, which another window may have changed:
    // the list shown follows it. A file that cannot be read whole leaves the
    // list as it was. True when the list shown changed.
    bool followFile();

    // Enters the result into the list shown and stores it in the file with
    // every result not stored before. Returns the message for the player
    // when it could not be stored (it is kept and tried again), else "".
    QString addResult(const ListEntry &entry);

    // Writes the file anew: the list as it is on disk, the results not stored
    // yet and fitting check numbers. Returns the message on failure, else "".
    QString rewriteFile();

    // Before the program ends: results not stored yet are tried once more;
    // while that fails, `tryAgain` is asked with the reason in the question.
    void storeBeforeEnd(const std::function<bool(const QString &question)> &tryAgain);

private:
    ListChangeOutcome write();
    void showWithUnsaved();

    QString path_;
    BestList onDisk_;                  // as last read from or written to the file
    std::vector<ListEntry> unsaved_;
    BestList shown_;
    CheckNumbers stored_;
};
