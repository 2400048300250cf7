#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// A die picture by file name ("4.bmp"), read from the first of `folders` that
// holds a regular file of that name with a picture in it (a FIFO, a device or
// a file of over a megabyte is passed over). When none does, the built-in
// picture of the same name is shown, so the die never goes blank.
//
// On a screen that scales by more than 1 the program's own pictures are
// shown from their twice-size drawings, at the same logical size (56 x 49),
// so that the dice are as sharp as the rest of the window. A file that holds
// exactly the built-in picture's bytes (the build and the install put them
// there) counts as the program's own; any other file is the player's and is
// shown as it is.
QPixmap diePicture(const QString &name, const QStringList &folders, qreal devicePixelRatio);
// The same for the application's screens.
QPixmap diePicture(const QString &name, const QStringList &folders);

// The built-in picture only, for the start pictures, which no file replaces.
QPixmap builtInDiePicture(const QString &name);
