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

QString dieDescription(int die, const QString &pictureName)
{
    const QString prefix = QStringLiteral("Arpakuutio %1: ").arg(die + 1);
    const bool marked = pictureName.size() == 6 && pictureName.startsWith(QLatin1Char('v'));
    const QString face = pictureName.mid(marked ? 1 : 0, 1);
    const bool hasFace = pictureName.size() == (marked ? 6 : 5) && face >= QLatin1String("1") && face <= QLatin1String("6");
    if (!hasFace)
        return prefix + QStringLiteral("ei heitetty");
    return prefix + face + (marked ? QStringLiteral(", heitetään uudelleen") : QString());
}
