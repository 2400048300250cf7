#include "files/RegularFile.h"
#include "strategy/RuleTables.h"
#include "strategy/Strategy.h"

#include <QByteArrayView>
#include <QtEndian>

#include <cmath>
#include <cstring>

// strategia.bin: a header, then the values as little-endian float32 in the
// table's own order. Header, little-endian:
//   0  magic "KOPSTRAT"      20  rules' fingerprint (u64)
//   8  format version (u32)  28  checksum of the value bytes (u64)
//  12  categories (u32)      36  the values
//  16  entries (u32)
namespace strategy {

namespace {

constexpr char magic[8] = {'K', 'O', 'P', 'S', 'T', 'R', 'A', 'T'};
constexpr quint32 formatVersion = 1;
constexpr int headerSize = 36;

qint64 fileSizeFor(const RuleTables &rules)
{
    return headerSize + qint64(rules.entries()) * 4;
}

// Through a view: GCC's bounds check cannot tell that a QByteArray long
// enough to read from is not its shared empty one.
template <typename T>
T readAt(QByteArrayView bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.data() + offset);
}

template <typename T>
void writeAt(QByteArray &bytes, int offset, T value)
{
    qToLittleEndian<T>(value, bytes.data() + offset);
}

QString sizeError(qint64 size, qint64 expected)
{
    return size < expected
        ? QStringLiteral("Strategiataulukko on vajaa: siinä on %1 tavua, pitäisi olla %2.").arg(size).arg(expected)
        : QStringLiteral("Strategiataulukko on liian pitkä: siinä on yli %1 tavua.").arg(expected);
}

// Nothing in the header may be taken on trust: each field is checked before
// the next one is read, and the values only once the checksum holds.
QString headerError(const QByteArray &bytes, const RuleTables &rules)
{
    const qint64 expected = fileSizeFor(rules);
    if (bytes.size() >= qsizetype(sizeof magic) && std::memcmp(bytes.constData(), magic, sizeof magic) != 0)
        return QStringLiteral("Tiedosto ei ole Kopperin strategiataulukko.");
    if (bytes.size() < headerSize)
        return sizeError(bytes.size(), expected);
    const quint32 version = readAt<quint32>(bytes, 8);
    if (version != formatVersion) {
        return QStringLiteral("Strategiataulukon muotoversio on %1, tämä ohjelma lukee version %2.")
            .arg(version).arg(formatVersion);
    }
    const quint32 categories = readAt<quint32>(bytes, 12);
    if (categories != quint32(rules.categories)) {
        return QStringLiteral("Strategiataulukko on laskettu %1 rivin pöytäkirjalle, tässä pelissä rivejä on %2.")
            .arg(categories).arg(rules.categories);
    }
    const quint32 entries = readAt<quint32>(bytes, 16);
    if (entries != rules.entries())
        return QStringLiteral("Strategiataulukossa on %1 arvoa, pitäisi olla %2.").arg(entries).arg(rules.entries());
    if (readAt<quint64>(bytes, 20) != rules.fingerprint)
        return QStringLiteral("Strategiataulukko on laskettu toisilla pistesäännöillä kuin tämän pelin.");
    if (bytes.size() != expected)
        return sizeError(bytes.size(), expected);
    if (readAt<quint64>(bytes, 28) != fnv1a(bytes.constData() + headerSize, std::size_t(bytes.size() - headerSize)))
        return QStringLiteral("Strategiataulukko on vioittunut: sen tarkistussumma ei täsmää.");
    return QString();
}

} // namespace

QByteArray Table::toBytes() const
{
    QByteArray bytes(qsizetype(fileSizeFor(*rules_)), '\0');
    std::memcpy(bytes.data(), magic, sizeof magic);
    writeAt<quint32>(bytes, 8, formatVersion);
    writeAt<quint32>(bytes, 12, quint32(rules_->categories));
    writeAt<quint32>(bytes, 16, quint32(values_.size()));
    writeAt<quint64>(bytes, 20, rules_->fingerprint);
    static_assert(sizeof(float) == sizeof(quint32));
    for (std::size_t i = 0; i < values_.size(); ++i) {
        quint32 word;
        std::memcpy(&word, &values_[i], sizeof word);
        writeAt<quint32>(bytes, headerSize + int(i) * 4, word);
    }
    writeAt<quint64>(bytes, 28, fnv1a(bytes.constData() + headerSize, std::size_t(bytes.size() - headerSize)));
    return bytes;
}

std::optional<Table> Table::fromBytes(const QByteArray &bytes, QString *error)
{
    return fromBytes(bytes, Rules::ours(), error);
}

std::optional<Table> Table::fromBytes(const QByteArray &bytes, const Rules &rules, QString *error)
{
    auto tables = std::make_shared<RuleTables>(rules);
    const QString wrong = headerError(bytes, *tables);
    if (!wrong.isEmpty()) {
        if (error)
            *error = wrong;
        return std::nullopt;
    }

    Table table;
    table.values_.resize(tables->entries());
    for (std::size_t i = 0; i < table.values_.size(); ++i) {
        const quint32 word = readAt<quint32>(bytes, headerSize + int(i) * 4);
        std::memcpy(&table.values_[i], &word, sizeof word);
    }
    // Every sheet a game can reach must have a value no game could beat or
    // undercut; a table made from a later sheet only fails here.
    double most = tables->points;
    for (int row = 0; row < tables->categories; ++row)
        most += tables->maxScore[row];
    const std::vector<std::uint64_t> reachable = tables->reachableUpperSums(Sheet{});
    for (unsigned filled = 0; filled <= tables->fullSheet(); ++filled) {
        const std::uint64_t sums = reachable[filled & tables->upperRows];
        const float *row = table.values_.data() + std::size_t(filled) * std::size_t(tables->upperSums());
        for (int u = 0; u < tables->upperSums(); ++u) {
            if ((sums >> u & 1u) && !(row[u] >= 0.0f && row[u] <= most)) {
                if (error)
                    *error = QStringLiteral("Strategiataulukko on vioittunut: siinä on mahdoton arvo.");
                return std::nullopt;
            }
        }
    }
    table.rules_ = std::move(tables);
    return table;
}

std::optional<Table> Table::readFile(const QString &path, QString *error)
{
    return readFile(path, Rules::ours(), error);
}

std::optional<Table> Table::readFile(const QString &path, const Rules &rules, QString *error)
{
    const qint64 expected = fileSizeFor(RuleTables(rules));
    const RegularFileRead read = readRegularFile(path, expected);
    QString wrong = read.error;
    std::optional<Table> table;
    if (wrong.isEmpty() && read.cut)
        wrong = sizeError(expected + 1, expected);
    if (wrong.isEmpty())
        table = fromBytes(read.bytes, rules, &wrong);
    if (!table && error)
        *error = wrong;
    return table;
}

} // namespace strategy
