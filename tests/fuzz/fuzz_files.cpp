// Feeds arbitrary bytes to the readers of the program's two text files and to
// the name filter, and checks what must hold whatever the bytes are:
// - a best-99 file that reads whole writes back as exactly 100 CR LF lines
//   that read back to the same records and check numbers;
// - every name read from nimet.txt is a non-empty line without a line feed,
//   and writing the names back one per line reads back the same names;
// - a name passed through storableName survives the code page both ways and
//   holds nothing that would split a record.
// A broken property aborts, so libFuzzer keeps the input as a crash.

#include "game/NamesFile.h"
#include "files/Windows1252.h"
#include "toplist/BestListFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz_files: property broken: %s\n", what);
        std::abort();
    }
}

bool sameRecords(const BestList &a, const BestList &b)
{
    for (int i = 0; i < bestListPlaces; ++i) {
        if (a.names[i] != b.names[i] || a.dates[i] != b.dates[i] || a.scores[i] != b.scores[i])
            return false;
    }
    return true;
}

bool splitsARecord(const QString &field)
{
    return field.contains(u',') || field.contains(u'\r') || field.contains(u'\n');
}

// Writes the list with `numbers` on line 1 and checks that it reads back the same.
QByteArray checkWrittenFile(const BestList &list, const CheckNumbers &numbers)
{
    const QByteArray written = formatBestList(list, numbers);
    require(written.count('\n') == bestListPlaces + 1, "a written list has 100 lines");
    require(written.count("\r\n") == bestListPlaces + 1, "every written line ends in CR LF");
    require(written.endsWith("\r\n"), "nothing follows the last line end");
    require(written.count('\r') == bestListPlaces + 1, "no lone CR inside a written line");

    QString error;
    const std::optional<BestListFile> reread = parseBestList(written, &error);
    require(reread.has_value(), "a written list reads back");
    require(sameRecords(reread->list, list), "a written list reads back the same records");
    require(reread->stored == numbers, "a written list reads back the same check numbers");
    return written;
}

void checkBestList(const QByteArray &bytes)
{
    QString error;
    const std::optional<BestListFile> file = parseBestList(bytes, &error);
    if (!file) {
        require(error.startsWith(QStringLiteral("LISTA99.TXT, rivi ")),
                "a refused file gets a message naming its line");
        return;
    }

    for (int i = 0; i < bestListPlaces; ++i) {
        require(!splitsARecord(file->list.names[i]), "a name read holds no comma or line break");
        require(!splitsARecord(file->list.dates[i]), "a date read holds no comma or line break");
    }
    for (int i = bestListPlaces; i < int(file->list.names.size()); ++i) {
        require(file->list.names[i].isEmpty() && file->list.dates[i].isEmpty()
                    && file->list.scores[i] == 0,
                "the spill slot stays empty when reading");
    }

    const CheckNumbers computed = computeCheckNumbers(file->list);
    // Each number's decimal text ends in a digit, '0' (48) to '9' (57).
    require(computed.digit >= 3 * 48 && computed.digit <= 3 * 57, "check number 4 lies in 144..171");
    require(computed.name >= 0 && computed.name <= bestListPlaces * 255, "check number 1 in range");
    require(computed.date >= 0 && computed.date <= bestListPlaces * 255, "check number 2 in range");

    const QByteArray repaired = checkWrittenFile(file->list, computed);
    const std::optional<BestListFile> again = parseBestList(repaired, nullptr);
    require(computeCheckNumbers(again->list) == computed, "a repaired file passes its own check");
    require(formatBestList(again->list, computed) == repaired, "writing is stable on a second round");

    // Stored numbers that do not fit the records only make start-up scold;
    // whatever they are, negative ones too, they must survive a write and a read.
    checkWrittenFile(file->list, file->stored);
}

void checkNames(const QByteArray &bytes)
{
    const QStringList names = readNames(bytes);
    QString joined;
    for (const QString &name : names) {
        require(!name.isEmpty(), "an empty line is not a name");
        require(!name.contains(u'\n') && !name.contains(u'\r'), "a name holds no line break");
        joined += name + QStringLiteral("\r\n");
    }
    require(names.size() <= bytes.count('\n') + bytes.count('\r') + 1, "no more names than lines");
    require(names.size() <= maxNames, "no more names than the bound");
    require(readNames(bytes, true).size() <= names.size(), "a cut file gives no more names");
    // Written again as UTF-8 behind a byte-order mark, the names read back the same.
    require(readNames("\xEF\xBB\xBF" + joined.toUtf8()) == names, "names written one per line read back the same");
}

void checkStorableName(const QString &name)
{
    const QString stored = storableName(name);
    require(windows1252::decode(windows1252::encode(stored)) == stored,
            "a storable name survives the code page both ways");
    for (const QChar c : stored) {
        const char16_t u = c.unicode();
        require(u >= 0x20 && !(u >= 0x7F && u <= 0x9F), "a storable name holds no control character");
        require(u != u',' && u != u'"', "a storable name holds no comma or double quote");
        require(windows1252::canEncode(c), "a storable name is all code page characters");
    }
    require(stored.size() <= name.size(), "filtering never lengthens a name");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    checkBestList(bytes);
    checkNames(bytes);

    const QString decoded = windows1252::decode(bytes);
    require(decoded.size() == bytes.size(), "every byte decodes to one character");
    require(windows1252::encode(decoded) == bytes, "decoding and encoding gives back the bytes");
    checkStorableName(decoded);
    // Typed names are not limited to the code page: read the bytes as UTF-16 as
    // well, lone surrogates and all.
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, std::size_t(utf16.size()) * sizeof(QChar));
    checkStorableName(utf16);
    return 0;
}
