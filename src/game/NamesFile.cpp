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

// Control and format characters (a byte-order mark among them) show in a name
// box as boxes, as nothing, or turn the text around.
QString printable(QStringView line)
{
    QString kept;
    kept.reserve(line.size());
    for (qsizetype i = 0; i < line.size();) {
        const bool pair = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(line[i], line[i + 1]) : line[i].unicode();
        const QChar::Category category = QChar::category(c);
        if (category != QChar::Other_Control && category != QChar::Other_Format)
            kept += line.mid(i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    return kept;
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
    // CR LF is skipped like any empty line, and so is a line of controls only.
    QStringList names;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && names.size() < maxNames; ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n')
            continue;
        if (const QString name = printable(QStringView(text).mid(start, i - start)); !name.isEmpty())
            names.append(name);
        start = i + 1;
    }
    return names;
}
