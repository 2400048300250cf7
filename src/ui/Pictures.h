#pragma once

#include <QPixmap>
#include <QString>

// A die picture by file name ("4.bmp"), read from the current folder (the
// program's folder). A file that is missing or unreadable is replaced by the
// built-in picture of the same name, so the die never goes blank.
QPixmap diePicture(const QString &name);
