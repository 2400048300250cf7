#include "files/SystemError.h"

#include <cerrno>
#include <cstring>

QString systemError(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("Tiedostoa tai kansiota ei ole.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Käyttöoikeudet eivät riitä.");
    case ENOSPC:
        return QStringLiteral("Levy on täynnä.");
    case EDQUOT:
        return QStringLiteral("Levytilakiintiö on täynnä.");
    case EROFS:
        return QStringLiteral("Levy on vain luettavissa.");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}
