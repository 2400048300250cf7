#include "MonkeyRandom.h"

QString MonkeyRandom::character()
{
    static const char16_t *const pool[] = {
        u"a", u"K", u"x", u"7", u"Ä", u"ö", u"å", u"é", u"ß", u"€",    // the file can carry these
        u" ", u" ", u",", u"\"", u"'", u"?", u"-",                      // blanks and separators
        u"Ж", u"λ", u"中", u"ğ", u"\u0081", u"\U0001F3B2",              // outside Windows-1252
    };
    constexpr int size = int(sizeof pool / sizeof pool[0]);
    return QString::fromUtf16(pool[below(size)]);
}

QString MonkeyRandom::name(int maxCharacters)
{
    QString text;
    const int length = below(maxCharacters + 1);
    for (int i = 0; i < length; ++i)
        text += character();
    return text;
}

QString MonkeyRandom::timeOfDay()
{
    const int h = below(24);
    const int m = below(60);
    const int s = below(60);
    return QStringLiteral("%1:%2:%3").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10,
                                                                                                      QLatin1Char('0'));
}

QDate MonkeyRandom::date()
{
    return QDate(2000 + below(100), 1 + below(12), 1 + below(28));
}
