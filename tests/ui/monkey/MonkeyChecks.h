#pragma once

#include "toplist/BestListFile.h"

#include <QByteArray>
#include <QString>

class Form1;

// The rules a window must keep whatever the player does. Each check returns
// an empty string when every rule holds, else what broke.

// True from the start of a game until its end (or the program's): the sheet's
// fields are then live and must match its captions.
bool gameRunning(const Form1 &form);

// The score sheet, the throw counter, the dice and the best-99 view.
QString checkWindow(const Form1 &form);

// The turn, the dice and the whole sheet, fields beside captions, for a report.
QString describeWindow(const Form1 &form);

// lista99.txt as it lies on disk: 100 lines, readable whole, its check numbers
// right, its scores possible and in order; and, when `shown` is given, the
// same list as the window holds.
class ListFileCheck {
public:
    QString check(const QByteArray &bytes, const BestList *shown);

private:
    // The bytes checked last: an unchanged file is not parsed again.
    QByteArray lastBytes_;
    BestList lastList_;
};
