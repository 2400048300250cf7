#include "dice/DieNames.h"

QString dieFileName(int value)
{
    const QString text = value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
    return (text + QLatin1String(".bmp")).right(5);
}

QString markedDieFileName(int value)
{
    return QLatin1Char('v') + QString::number(value) + QLatin1String(".bmp");
}
