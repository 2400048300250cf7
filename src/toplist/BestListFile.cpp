#include "toplist/BestListFile.h"

#include "files/SystemError.h"
#include "files/Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringView>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool CheckNumbers::operator==(const CheckNumbers &other) const
{
    return name == other.name && date == other.date && score == other.score
        && digit == other.digit;
}

int earnedPlace(const BestList &list, int score)
{
    for (int j = 0; j < bestListPlaces; ++j) {
        if (score > list.scores[std::size_t(j)])
            return j;
    }
    return -1;
}

CheckNumbers computeCheckNumbers(const BestList &list)
{
    const auto firstCode = [](const QString &text) {
        return text.isEmpty() ? 0 : windows1252::code(text.front());
    };
    // "-5" ends in '5' too, so a negative sum still gives a digit's code.
    const auto lastCode = [](std::int32_t number) {
        return windows1252::code(QString::number(number).back());
    };

    CheckNumbers numbers;
    for (int i = 0; i < bestListPlaces; ++i) {
        numbers.name += firstCode(list.names[i]);
        numbers.date += firstCode(list.dates[i]);
        numbers.score += list.scores[i];
    }
    numbers.digit = std::int16_t(lastCode(numbers.name) + lastCode(numbers.date)
                                 + lastCode(numbers.score));
    return numbers;
}

namespace {

struct Field {
    QString text;
    int line;   // 1-based
};

// Commas and line ends (CR LF, LF or CR) both end a field; an empty line
// gives no field at all. Stops once the line that holds field `wanted` is split.
std::vector<Field> splitFields(const QString &text, std::size_t wanted)
{
    std::vector<Field> fields;
    int line = 1;
    qsizetype pos = 0;
    while (pos < text.size() && fields.size() < wanted) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (end > pos) {
            for (const QStringView part : QStringView(text).mid(pos, end - pos).split(u','))
                fields.push_back({part.toString(), line});
        }
        const bool crLf = end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
        pos = end + (crLf ? 2 : 1);
        ++line;
    }
    return fields;
}

enum class NumberFault { none, missing, text, range };

// Optional blanks around, an optional sign, then decimal digits only.
NumberFault readNumber(QStringView field, qint64 min, qint64 max, qint64 *value)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && blank(field[begin]))
        ++begin;
    while (end > begin && blank(field[end - 1]))
        --end;
    if (begin == end)
        return NumberFault::missing;

    const bool negative = field[begin] == u'-';
    if (negative || field[begin] == u'+')
        ++begin;
    if (begin == end)
        return NumberFault::text;

    qint64 magnitude = 0;
    bool tooLong = false;   // stops the sum before it could overflow
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9')
            return NumberFault::text;
        if (magnitude > 1'000'000'000'000)
            tooLong = true;
        else
            magnitude = magnitude * 10 + (c - u'0');
    }
    const qint64 number = negative ? -magnitude : magnitude;
    if (tooLong || number < min || number > max)
        return NumberFault::range;
    *value = number;
    return NumberFault::none;
}

QString lineMessage(int line, const QString &what)
{
    return QStringLiteral("LISTA99.TXT, rivi %1: %2").arg(line).arg(what);
}

// What the messages call a number field, in the cases Finnish needs.
struct NumberWords {
    QString missing;
    QString text;
    QString range;
};

NumberWords checkNumberWords(int no)
{
    return {QStringLiteral("tarkistusnumero %1 puuttuu.").arg(no),
            QStringLiteral("tarkistusnumeron %1 paikalla on tekstiä.").arg(no),
            QStringLiteral("tarkistusnumero %1 ei mahdu sallittuihin rajoihin.").arg(no)};
}

NumberWords scoreWords()
{
    return {QStringLiteral("pisteet puuttuvat."),
            QStringLiteral("pisteiden paikalla on tekstiä."),
            QStringLiteral("pisteet eivät mahdu sallittuihin rajoihin.")};
}

// The number in a field, or the message naming the field's line.
std::optional<QString> readNumberField(const Field &field, qint64 min, qint64 max,
                                       const NumberWords &words, qint64 *value)
{
    switch (readNumber(field.text, min, max, value)) {
    case NumberFault::none:
        return std::nullopt;
    case NumberFault::missing:
        return lineMessage(field.line, words.missing);
    case NumberFault::text:
        return lineMessage(field.line, words.text);
    case NumberFault::range:
        return lineMessage(field.line, words.range);
    }
    return std::nullopt;
}

constexpr qint64 int16Min = -32768;
constexpr qint64 int16Max = 32767;
constexpr qint64 int32Min = -2147483648LL;
constexpr qint64 int32Max = 2147483647LL;

} // namespace

std::optional<BestListFile> parseBestList(const QByteArray &bytes, QString *error, bool cut)
{
    constexpr std::size_t checkFields = 4;
    constexpr std::size_t allFields = checkFields + 3 * bestListPlaces;
    // Every byte is one character and every separator one byte: the fields
    // that end within the bytes are the file's own, the one cut short is not.
    qsizetype complete = bytes.size();
    if (cut)
        complete = std::max({bytes.lastIndexOf(','), bytes.lastIndexOf('\r'), bytes.lastIndexOf('\n')}) + 1;
    const std::vector<Field> fields = splitFields(windows1252::decode(bytes.left(complete)), allFields);

    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return std::nullopt;
    };

    // An empty first line would let the first record pass for the check
    // numbers; it is their line that is at fault.
    if (!fields.empty() && fields.front().line != 1)
        return fail(lineMessage(1, QStringLiteral("tarkistusnumerot puuttuvat.")));
    if (fields.size() < allFields) {
        // The first missing field would start a new line if it is a record's
        // name; otherwise it belongs on the last line read.
        const std::size_t n = fields.size();
        const bool startsLine = n >= checkFields && (n - checkFields) % 3 == 0;
        const int line = fields.empty() ? 1 : fields.back().line + (startsLine ? 1 : 0);
        if (cut)
            return fail(lineMessage(line, QStringLiteral("lista ei mahdu tiedoston %1 ensimmäiseen kilotavuun.")
                                              .arg(bestListByteLimit / 1024)));
        return fail(lineMessage(line, QStringLiteral("tiedosto loppuu kesken.")));
    }

    qint64 values[checkFields] = {};
    for (std::size_t k = 0; k < checkFields; ++k) {
        const bool digitNumber = k == 3;   // number 4 is 16-bit, the others 32-bit
        if (const auto message = readNumberField(fields[k], digitNumber ? int16Min : int32Min,
                                                 digitNumber ? int16Max : int32Max,
                                                 checkNumberWords(int(k) + 1), &values[k]))
            return fail(*message);
    }
    BestListFile file;
    file.stored = {std::int32_t(values[0]), std::int32_t(values[1]), std::int32_t(values[2]),
                   std::int16_t(values[3])};

    for (int i = 0; i < bestListPlaces; ++i) {
        const std::size_t first = checkFields + 3 * std::size_t(i);
        file.list.names[i] = fields[first].text;
        file.list.dates[i] = fields[first + 1].text;
        qint64 score = 0;
        if (const auto message = readNumberField(fields[first + 2], int16Min, int16Max,
                                                 scoreWords(), &score))
            return fail(*message);
        file.list.scores[i] = std::int16_t(score);
    }
    return file;
}

QByteArray formatBestList(const BestList &list, const CheckNumbers &numbers)
{
    const QString crLf = QStringLiteral("\r\n");
    QString text = QStringLiteral("%1,%2,%3,%4")
                       .arg(numbers.name).arg(numbers.date).arg(numbers.score).arg(numbers.digit)
        + crLf;
    for (int i = 0; i < bestListPlaces; ++i)
        text += list.names[i] + u',' + list.dates[i] + u',' + QString::number(list.scores[i]) + crLf;
    return windows1252::encode(text);
}

QString storableName(const QString &name)
{
    QString stored;
    stored.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;   // one '?' for the whole character
            stored += u'?';
            continue;
        }
        const char16_t u = c.unicode();
        // A comma or a line break would split the record when read back; a
        // quote would open a quoted field for other comma-separated readers.
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        const bool separator = u == u',' || u == u'"';
        stored += (control || separator || !windows1252::canEncode(c)) ? QChar(u'?') : c;
    }
    return stored;
}

QString temporarySaveName(const QString &path)
{
    return path + QStringLiteral(".tallennus");
}

// Writes all of `bytes` at the file's current offset.
bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

QString saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    // The new list is written whole beside the old one, flushed to the disk
    // and only then renamed over it: rename() replaces the old file in one
    // step, so at every moment the folder holds the old list or the new one.
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = QFile::encodeName(temporarySaveName(path));
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    // A private list stays private while its copy is written; its own mode
    // and owner are given to the copy before it takes the list's place.
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                          replacing ? 0600 : 0666);
    if (fd < 0)
        return systemError(errno);
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return systemError(error);
    };
    if (!writeAll(fd, bytes))
        return fail(errno);
    if (replacing) {
        // The group is kept where the system lets us (a list shared by a
        // group); the owner only when we are allowed to give it away.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Neither is ours to give: the copy keeps our own group.
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return fail(errno);
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error);
    }
    if (std::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error);
    }
    // Make the rename itself durable.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return QString();
}
