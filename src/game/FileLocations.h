#pragma once

#include <QString>
#include <QStringList>

// Where Kopperi's files live, decided once at start-up; every file operation
// takes its answer from here.
//
// Run from a build or an unpacked folder, the program's own folder holds
// lista99.txt and stays the player's folder. Installed, the program's folder
// belongs to the system: the player's files live in the per-user data folder
// (~/.local/share/kopperi), and any of lista99.txt and nimet.txt missing there
// is copied in from the installed data folder at every start, so a deleted
// list comes back as it was first installed.
struct FileLocations {
    QString playerFolder;  // lista99.txt and nimet.txt are read and written here only
    QString dataFolder;    // the installed data folder; empty beside the program
    QString problem;       // why the player's folder could not be prepared; empty when it was

    bool installed() const { return !dataFolder.isEmpty(); }
    // Where a die picture is looked for, in order; the built-in copy comes last.
    QStringList pictureFolders() const;
};

// Names the application "kopperi", which makes ~/.local/share/kopperi its
// per-user data folder; message boxes keep the title "Kopperi".
void nameApplication();

// Decides where the files live for a program in `programFolder`, and prepares
// the player's folder when installed.
FileLocations locateFiles(const QString &programFolder);
// The same with the per-user data folder given.
FileLocations locateFiles(const QString &programFolder, const QString &userDataFolder);
