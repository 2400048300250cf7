#pragma once

#include "history/StoredGames.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <map>
#include <optional>
#include <vector>

// pelit.sqlite through Qt's SQLite driver: its schema and every statement.
// Each object has a connection of its own, so that two windows of one
// process each have theirs. Every value goes in as a bound parameter. A call
// that fails returns false and leaves the driver's error in error().
//
// Schema (user_version 1):
//   games(id, started ms UTC, utc_offset s, state, seats, turn)
//     state: 0 playing, 1 finished, 2 given up, 3 declined
//   players(game, seat, name, typed, computer, points, bonus, yatzy, won,
//           costs, luck), WITHOUT ROWID, keyed by (game, seat)
//   events(game, seq, code, name), WITHOUT ROWID, keyed by (game, seq):
//     the record's entries, each packed into `code` (EntryCode.h); `name`
//     only where an entry has one (a best-99 entry)
class GamesDatabase {
public:
    static constexpr int schemaVersion = 1;

    enum class GameState { Playing = 0, Finished = 1, GivenUp = 2, Declined = 3 };

    enum class Opening {
        Ready,
        Later,    // made by a later Kopperi: not ours to write
        Foreign,  // another program's database under our name
        Damaged,  // ours, with tables missing
        NoDriver, // Qt's SQLite driver is not installed
        Failed,   // see error()
    };

    explicit GamesDatabase(const QString &path);
    ~GamesDatabase();
    GamesDatabase(const GamesDatabase &) = delete;
    GamesDatabase &operator=(const GamesDatabase &) = delete;

    // Sets write-ahead logging, reads the version and the schema, and makes
    // the schema in a file that has none.
    Opening open();
    QSqlError error() const { return error_; }

    // A write transaction: taken at once, so that two windows never both
    // read and then find they cannot write.
    bool begin();
    bool commit();
    void rollback();

    // Within a transaction.
    std::optional<qint64> largestId();
    bool insertGame(qint64 id, const GameRecord &record, int turn);
    bool insertEntry(qint64 id, qint64 seq, const GameRecord::Entry &entry);
    bool setPoints(qint64 id, int seat, int points);
    bool setTurn(qint64 id, int turn);
    bool setState(qint64 id, GameState state);
    struct Result {
        int total = 0;
        bool bonus = false;
        bool yatzy = false;
        bool won = false;
        std::optional<ReviewFigures> review;
    };
    bool setResult(qint64 id, int seat, const Result &result);

    // Reads. A missing game is read as std::nullopt with true returned.
    bool playingGames(std::vector<qint64> *ids);  // newest first
    bool readGame(qint64 id, std::optional<StoredGame> *game);
    bool summaries(std::vector<GameSummary> *games);
    bool statistics(std::vector<NameStatistics> *names);
    bool finishedResults(const QString &name, std::vector<FinishedResult> *results);

private:
    QSqlQuery &prepared(const QString &sql);
    bool run(QSqlQuery &query);
    bool run(const QString &sql) { return run(prepared(sql)); }

    QString connection_;
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> statements_;  // prepared once, run at every write
    QSqlQuery unprepared_;                     // the latest that could not be prepared
    QSqlError error_;
};
