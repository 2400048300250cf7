#include "game/FileLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>

#ifndef KOPPERI_DATA_FROM_PROGRAM
#define KOPPERI_DATA_FROM_PROGRAM "../share/kopperi"
#endif

namespace {

const QString listName = QStringLiteral("lista99.txt");
const QStringList playerFiles{QStringLiteral("lista99.txt"), QStringLiteral("nimet.txt")};

// Copies `name` from the installed data folder unless the player has it. A
// copy never replaces a file: one that appears meanwhile (another Kopperi
// starting) wins. The copy is the player's to write, whatever the installed
// file's permissions.
QString seed(const QDir &data, const QDir &player, const QString &name)
{
    const QString target = player.filePath(name);
    if (QFile::exists(target))
        return {};
    QFile source(data.filePath(name));
    if (!source.copy(target) && !QFile::exists(target)) {
        return QStringLiteral("Tiedostoa %1 ei voi kopioida kansioon %2:\r%3")
            .arg(QDir::toNativeSeparators(source.fileName()), QDir::toNativeSeparators(player.path()),
                 source.errorString());
    }
    QFile copy(target);
    copy.setPermissions(copy.permissions() | QFile::ReadOwner | QFile::WriteOwner);
    return {};
}

} // namespace

QStringList FileLocations::pictureFolders() const
{
    return installed() ? QStringList{playerFolder, dataFolder} : QStringList{playerFolder};
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("kopperi"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Kopperi"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fi.kopperi.Kopperi"));
}

FileLocations locateFiles(const QString &programFolder)
{
    return locateFiles(programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

FileLocations locateFiles(const QString &programFolder, const QString &userDataFolder)
{
    const QDir program(programFolder);
    const QDir data(QDir::cleanPath(program.filePath(QStringLiteral(KOPPERI_DATA_FROM_PROGRAM))));
    // A list beside the program, or no installed data to fall back on: the
    // program's folder is the player's, and a missing list is reported there.
    if (program.exists(listName) || !data.exists())
        return {program.absolutePath(), QString(), QString()};

    FileLocations files{QDir::cleanPath(userDataFolder), data.absolutePath(), QString()};
    const QDir player(files.playerFolder);
    if (userDataFolder.isEmpty() || !player.mkpath(QStringLiteral("."))) {
        files.problem = QStringLiteral("Kopperin kansiota %1 ei voi luoda.").arg(QDir::toNativeSeparators(files.playerFolder));
        return files;
    }
    for (const QString &name : playerFiles) {
        files.problem = seed(data, player, name);
        if (!files.problem.isEmpty())
            break;
    }
    return files;
}
