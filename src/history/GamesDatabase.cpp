#include "history/GamesDatabase.h"

#include "history/EntryCode.h"

#include <QAtomicInteger>
#include <QStringList>
#include <QVariant>

namespace {

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> made;
    return QStringLiteral("kopperi-pelit-%1").arg(made.fetchAndAddRelaxed(1));
}

// Another window writes for a millisecond at a time; a program that holds the
// file longer makes the games unkept rather than the window wait.
constexpr int busyTimeoutMs = 300;

const char *const schema[] = {
    "CREATE TABLE games ("
    " id INTEGER PRIMARY KEY,"
    " started INTEGER NOT NULL,"
    " utc_offset INTEGER NOT NULL,"
    " state INTEGER NOT NULL,"
    " seats INTEGER NOT NULL,"
    " turn INTEGER NOT NULL)",
    "CREATE TABLE players ("
    " game INTEGER NOT NULL,"
    " seat INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " typed TEXT NOT NULL,"
    " computer INTEGER NOT NULL,"
    " points INTEGER NOT NULL,"
    " bonus INTEGER NOT NULL DEFAULT 0,"
    " yatzy INTEGER NOT NULL DEFAULT 0,"
    " won INTEGER NOT NULL DEFAULT 0,"
    " costs REAL,"
    " luck REAL,"
    " PRIMARY KEY (game, seat)) WITHOUT ROWID",
    "CREATE INDEX players_by_name ON players (name)",
    "CREATE TABLE events ("
    " game INTEGER NOT NULL,"
    " seq INTEGER NOT NULL,"
    " code INTEGER NOT NULL,"
    " name TEXT,"
    " PRIMARY KEY (game, seq)) WITHOUT ROWID",
};

// The start as the players' clock showed it: in local time when the offset
// is still the local one, else at the offset it had.
QDateTime startedAt(const QVariant &ms, const QVariant &offset)
{
    QDateTime local = QDateTime::fromMSecsSinceEpoch(ms.toLongLong());
    if (local.offsetFromUtc() == offset.toInt())
        return local;
    return QDateTime::fromMSecsSinceEpoch(ms.toLongLong(), Qt::OffsetFromUTC, offset.toInt());
}

std::optional<double> optionalDouble(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

} // namespace

GamesDatabase::GamesDatabase(const QString &path) : connection_(uniqueConnectionName())
{
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db_.setDatabaseName(path);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
}

GamesDatabase::~GamesDatabase()
{
    // Qt wants every query and handle gone before the connection is removed.
    statements_.clear();
    unprepared_ = QSqlQuery();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

QSqlQuery &GamesDatabase::prepared(const QString &sql)
{
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        QSqlQuery query(db_);
        query.setForwardOnly(true);
        // SQLite reads the schema to prepare: a damaged one fails here.
        if (!query.prepare(sql)) {
            error_ = query.lastError();
            unprepared_ = std::move(query);
            return unprepared_;
        }
        found = statements_.emplace(sql, std::move(query)).first;
    }
    return found->second;
}

bool GamesDatabase::run(QSqlQuery &query)
{
    if (query.exec())
        return true;
    // A statement that could not be prepared keeps the error that said why.
    if (&query != &unprepared_)
        error_ = query.lastError();
    return false;
}

GamesDatabase::Opening GamesDatabase::open()
{
    if (!db_.isValid())
        return Opening::NoDriver;
    if (!db_.open()) {
        error_ = db_.lastError();
        return Opening::Failed;
    }
    // The version first: it is the first read of the file, and a file that is
    // not a database or is locked says so here.
    QSqlQuery &version = prepared(QStringLiteral("PRAGMA user_version"));
    if (!run(version) || !version.next())
        return Opening::Failed;
    const int found = version.value(0).toInt();
    version.finish();
    if (found > schemaVersion)
        return Opening::Later;

    QSqlQuery &tables = prepared(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    if (!run(tables))
        return Opening::Failed;
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    tables.finish();
    if (found == 0 && !names.isEmpty())
        return Opening::Foreign;

    // A reader never waits for a writer; a commit writes the log without
    // waiting for the disk, which a power cut may cost the last few actions
    // but never the file.
    QSqlQuery &journal = prepared(QStringLiteral("PRAGMA journal_mode = WAL"));
    if (!run(journal) || !run(QStringLiteral("PRAGMA synchronous = NORMAL")))
        return Opening::Failed;
    journal.finish();

    if (found == schemaVersion) {
        for (const char *table : {"games", "players", "events"}) {
            if (!names.contains(QLatin1String(table)))
                return Opening::Damaged;
        }
        return Opening::Ready;
    }
    if (!begin())
        return Opening::Failed;
    // Another window may have made it while this one waited to write.
    QSqlQuery &again = prepared(QStringLiteral("PRAGMA user_version"));
    if (!run(again) || !again.next()) {
        rollback();
        return Opening::Failed;
    }
    const bool madeMeanwhile = again.value(0).toInt() == schemaVersion;
    again.finish();
    if (madeMeanwhile)
        return commit() ? Opening::Ready : Opening::Failed;
    for (const char *statement : schema) {
        if (!run(QString::fromLatin1(statement))) {
            rollback();
            return Opening::Failed;
        }
    }
    if (!run(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion)) || !commit()) {
        rollback();
        return Opening::Failed;
    }
    return Opening::Ready;
}

bool GamesDatabase::begin() { return run(QStringLiteral("BEGIN IMMEDIATE")); }
bool GamesDatabase::commit() { return run(QStringLiteral("COMMIT")); }

void GamesDatabase::rollback()
{
    // After some failures SQLite has already rolled back: nothing to report.
    const QSqlError kept = error_;
    run(QStringLiteral("ROLLBACK"));
    error_ = kept;
}

std::optional<qint64> GamesDatabase::largestId()
{
    QSqlQuery &query = prepared(QStringLiteral("SELECT coalesce(max(id), 0) FROM games"));
    if (!run(query) || !query.next())
        return std::nullopt;
    const qint64 id = query.value(0).toLongLong();
    query.finish();
    return id;
}

bool GamesDatabase::insertGame(qint64 id, const GameRecord &record, int turn)
{
    QSqlQuery &game = prepared(QStringLiteral(
        "INSERT INTO games (id, started, utc_offset, state, seats, turn) VALUES (?, ?, ?, 0, ?, ?)"));
    const bool timed = record.started.isValid();
    game.bindValue(0, id);
    game.bindValue(1, timed ? record.started.toMSecsSinceEpoch() : 0);
    game.bindValue(2, timed ? record.started.offsetFromUtc() : 0);
    game.bindValue(3, qint64(record.players.size()));
    game.bindValue(4, turn);
    if (!run(game))
        return false;
    QSqlQuery &player = prepared(QStringLiteral(
        "INSERT INTO players (game, seat, name, typed, computer, points) VALUES (?, ?, ?, ?, ?, 0)"));
    for (std::size_t seat = 0; seat < record.players.size(); ++seat) {
        const GameRecord::Player &who = record.players[seat];
        player.bindValue(0, id);
        player.bindValue(1, qint64(seat));
        player.bindValue(2, who.name);
        player.bindValue(3, who.typed);
        player.bindValue(4, who.computer);
        if (!run(player))
            return false;
    }
    return true;
}

bool GamesDatabase::insertEntry(qint64 id, qint64 seq, const GameRecord::Entry &entry)
{
    QSqlQuery &query = prepared(QStringLiteral("INSERT INTO events (game, seq, code, name) VALUES (?, ?, ?, ?)"));
    query.bindValue(0, id);
    query.bindValue(1, seq);
    query.bindValue(2, qint64(packEntry(entry)));
    query.bindValue(3, entry.name.isEmpty() ? QVariant() : QVariant(entry.name));
    return run(query);
}

bool GamesDatabase::setPoints(qint64 id, int seat, int points)
{
    QSqlQuery &query = prepared(QStringLiteral("UPDATE players SET points = ? WHERE game = ? AND seat = ?"));
    query.bindValue(0, points);
    query.bindValue(1, id);
    query.bindValue(2, seat);
    return run(query);
}

bool GamesDatabase::setTurn(qint64 id, int turn)
{
    QSqlQuery &query = prepared(QStringLiteral("UPDATE games SET turn = ? WHERE id = ?"));
    query.bindValue(0, turn);
    query.bindValue(1, id);
    return run(query);
}

bool GamesDatabase::setState(qint64 id, GameState state)
{
    QSqlQuery &query = prepared(QStringLiteral("UPDATE games SET state = ? WHERE id = ?"));
    query.bindValue(0, int(state));
    query.bindValue(1, id);
    return run(query);
}

bool GamesDatabase::setResult(qint64 id, int seat, const Result &result)
{
    QSqlQuery &query = prepared(QStringLiteral("UPDATE players SET points = ?, bonus = ?, yatzy = ?, won = ?,"
                                               " costs = ?, luck = ? WHERE game = ? AND seat = ?"));
    query.bindValue(0, result.total);
    query.bindValue(1, result.bonus);
    query.bindValue(2, result.yatzy);
    query.bindValue(3, result.won);
    query.bindValue(4, result.review ? QVariant(result.review->costs) : QVariant());
    query.bindValue(5, result.review ? QVariant(result.review->luck) : QVariant());
    query.bindValue(6, id);
    query.bindValue(7, seat);
    return run(query);
}

bool GamesDatabase::playingGames(std::vector<qint64> *ids)
{
    QSqlQuery &query = prepared(QStringLiteral("SELECT id FROM games WHERE state = 0 ORDER BY started DESC, id DESC"));
    if (!run(query))
        return false;
    ids->clear();
    while (query.next())
        ids->push_back(query.value(0).toLongLong());
    query.finish();
    return true;
}

bool GamesDatabase::readGame(qint64 id, std::optional<StoredGame> *read)
{
    read->reset();
    QSqlQuery &game = prepared(QStringLiteral("SELECT started, utc_offset FROM games WHERE id = ?"));
    game.bindValue(0, id);
    if (!run(game))
        return false;
    if (!game.next())
        return true;
    StoredGame stored;
    stored.id = id;
    stored.record.started = startedAt(game.value(0), game.value(1));
    game.finish();

    QSqlQuery &players = prepared(QStringLiteral("SELECT name, typed, computer FROM players WHERE game = ? ORDER BY seat"));
    players.bindValue(0, id);
    if (!run(players))
        return false;
    while (players.next())
        stored.record.players.push_back({players.value(0).toString(), players.value(2).toBool(), players.value(1).toString()});
    players.finish();

    QSqlQuery &events = prepared(QStringLiteral("SELECT code, name FROM events WHERE game = ? ORDER BY seq"));
    events.bindValue(0, id);
    if (!run(events))
        return false;
    while (events.next())
        stored.record.entries.push_back(unpackEntry(events.value(0).toLongLong(), events.value(1).toString()));
    events.finish();
    *read = std::move(stored);
    return true;
}

bool GamesDatabase::summaries(std::vector<GameSummary> *games)
{
    QSqlQuery &query = prepared(QStringLiteral(
        "SELECT g.id, g.started, g.utc_offset, g.state, g.turn, p.name, p.points, p.won"
        " FROM games g JOIN players p ON p.game = g.id ORDER BY g.started DESC, g.id DESC, p.seat"));
    if (!run(query))
        return false;
    games->clear();
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (games->empty() || games->back().id != id) {
            GameSummary game;
            game.id = id;
            game.started = startedAt(query.value(1), query.value(2));
            game.finished = query.value(3).toInt() == int(GameState::Finished);
            game.turn = query.value(4).toInt();
            games->push_back(std::move(game));
        }
        games->back().players.push_back({query.value(5).toString(), query.value(6).toInt(), query.value(7).toBool()});
    }
    query.finish();
    return true;
}

bool GamesDatabase::statistics(std::vector<NameStatistics> *names)
{
    QSqlQuery &query = prepared(QStringLiteral(
        "SELECT p.name, sum(g.state = 1), sum(g.state <> 1),"
        " avg(CASE WHEN g.state = 1 THEN p.points END),"
        " max(CASE WHEN g.state = 1 THEN p.points END),"
        " min(CASE WHEN g.state = 1 THEN p.points END),"
        " sum(g.state = 1 AND p.bonus), sum(g.state = 1 AND p.yatzy),"
        " sum(g.state = 1 AND g.seats > 1 AND p.won), sum(g.state = 1 AND g.seats > 1),"
        " avg(CASE WHEN g.state = 1 THEN p.costs END), avg(CASE WHEN g.state = 1 THEN p.luck END)"
        " FROM players p JOIN games g ON g.id = p.game"
        " GROUP BY p.name ORDER BY count(*) DESC, sum(g.state = 1) DESC, p.name"));
    if (!run(query))
        return false;
    names->clear();
    while (query.next()) {
        NameStatistics s;
        s.name = query.value(0).toString();
        s.finished = query.value(1).toInt();
        s.unfinished = query.value(2).toInt();
        s.average = query.value(3).toDouble();
        s.best = query.value(4).toInt();
        s.worst = query.value(5).toInt();
        s.bonuses = query.value(6).toInt();
        s.yatzies = query.value(7).toInt();
        s.wins = query.value(8).toInt();
        s.severalPlayers = query.value(9).toInt();
        s.costs = optionalDouble(query.value(10));
        s.luck = optionalDouble(query.value(11));
        names->push_back(s);
    }
    query.finish();
    return true;
}

bool GamesDatabase::finishedResults(const QString &name, std::vector<FinishedResult> *results)
{
    QSqlQuery &query = prepared(QStringLiteral(
        "SELECT g.id, g.started, g.utc_offset, p.points, p.costs FROM players p JOIN games g ON g.id = p.game"
        " WHERE p.name = ? AND g.state = 1 ORDER BY g.started, g.id, p.seat"));
    query.bindValue(0, name);
    if (!run(query))
        return false;
    results->clear();
    while (query.next()) {
        results->push_back({query.value(0).toLongLong(), startedAt(query.value(1), query.value(2)),
                            query.value(3).toInt(), optionalDouble(query.value(4))});
    }
    query.finish();
    return true;
}
