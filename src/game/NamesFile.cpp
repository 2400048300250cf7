#include "game/NamesFile.h"

#include "files/Windows1252.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

QString decodeText(const QByteArray &bytes)
{
    // Stateless: a character cut off at the end is an error, not pending.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? windows1252::decode(bytes) : text;
}

} // namespace

QStringList readNames(QByteArray fileContents, bool cut)
{
    if (cut)
        fileContents.truncate(std::max(fileContents.lastIndexOf('\n'), fileContents.lastIndexOf('\r')) + 1);
    if (fileContents.startsWith("\xEF\xBB\xBF"))
        fileContents.remove(0, 3);
    const QString text = decodeText(fileContents);

    // Every CR and every LF ends a line; the empty line between the two of a
    // CR LF is skipped like any empty line.
    QStringList names;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && names.size() < maxNames; ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n')
            continue;
        if (i > start)
            names.append(text.mid(start, i - start));
        start = i + 1;
    }
    return names;
}
