#include "game/NamesFile.h"

#include "game/Windows1252.h"

QStringList readNames(const QByteArray &fileContents)
{
    QStringList names;
    for (QByteArray line : fileContents.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            names.append(windows1252::decode(line));
    }
    return names;
}
