#pragma once

#include "history/GameClaim.h"
#include "history/SheetTally.h"
#include "history/StoredGames.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class GamesDatabase;

// The games file, pelit.sqlite in the player's folder: every game kept as it
// is played, read back to be resumed or reviewed, and the list of earlier
// games and the statistics. The window calls it; only it knows the file.
//
// A file that cannot be kept (a folder in its place, a folder that cannot be
// written, a file of a later Kopperi or locked by another program, a full
// disk) costs one message from takeMessage(), and from then on every call
// does nothing and reads nothing, so the game plays on as without the file.
// A damaged file, found at opening or later, is moved aside to
// "pelit.sqlite.vioittunut" and a new one made, with the running game written
// into it whole; the message says where the old one is.
class GamesFile {
public:
    explicit GamesFile(const QString &folder);
    ~GamesFile();
    GamesFile(const GamesFile &) = delete;
    GamesFile &operator=(const GamesFile &) = delete;

    // Opens the file, making it at first need; any call opens it if this has
    // not. True while games are kept.
    bool open();
    bool keeping() const;
    // What to tell the player, once: why games are not kept, or where a
    // damaged file was moved. Empty when there is nothing new.
    QString takeMessage();
    QString path() const { return path_; }

    // The running game. A game is in the file from its first entry: one
    // given up before its first throw leaves nothing.
    void beginGame(const GameRecord &record);
    // Writes the entries added since the last call, in one transaction, with
    // each player's points and the turn. Call it after every action; the
    // entries of a game being replayed from the file are not written again.
    void keep(const GameRecord &record);
    // The rest of the entries, and per player the total, the bonus, 50 in
    // Yatzy, a win (a shared first place wins) and the review's figures (one
    // per player, or none when the review was not made). Releases the game;
    // keep() still adds what comes after the end (a best-99 entry) to it.
    void finishGame(const GameRecord &record, const std::vector<ReviewFigures> &review = {});
    // "...uusiksi": the game stays unfinished and is never offered again.
    void giveUp();

    // At start-up: the latest unfinished game, neither given up nor declined,
    // that no running window plays. It is claimed while the question is
    // asked, so that a second window started meanwhile offers another.
    std::optional<StoredGame> gameToOffer();
    // The player wants the offered game: it becomes the running game, and
    // its entries, played again by the window, are not written again. False
    // when it cannot be had (another window claimed it, or it is gone).
    bool resumeGame(qint64 id);
    // The player does not: it stays unfinished and is never asked about again.
    void declineGame(qint64 id);

    // Some game is in the file: there is something to list and count.
    bool holdsGames();
    std::optional<StoredGame> readGame(qint64 id);
    std::vector<GameSummary> earlierGames();     // newest first
    std::vector<NameStatistics> statistics();    // most games first
    std::vector<FinishedResult> finishedGames(const QString &name);  // oldest first

private:
    struct Identity {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Identity &o) const { return device == o.device && inode == o.inode; }
        bool operator!=(const Identity &o) const { return !(*this == o); }
    };
    struct Running {
        bool active = false;   // played: written to and claimed
        bool finished = false; // ended: late entries are still added
        qint64 id = 0;       // 0 until its first entry is in the file
        GameRecord record;   // the players, the start and the entries written
        SheetTally tally;
        GameClaim claim;
    };
    // What one write adds, taken into the running game once committed.
    struct Appended {
        qint64 id = 0;
        SheetTally tally;
        GameClaim claim;  // a game made by this write
    };
    using Work = std::function<bool(GamesDatabase &)>;

    bool ready();
    bool openFile();
    bool attempt(const Work &work, bool transaction);
    bool runOnce(const Work &work, bool transaction);
    bool replaceDamaged(const Identity &judged);
    bool writeRunningWhole(GamesDatabase &db);
    bool insertRunning(GamesDatabase &db, qint64 *id, GameClaim *claim);
    bool appendEntries(GamesDatabase &db, const GameRecord &record, std::size_t from, Appended *appended);
    void takeAppended(const GameRecord &record, Appended &appended);
    bool writeStanding(GamesDatabase &db, qint64 id, const SheetTally &before, const SheetTally &after);
    void stop(const QString &why);
    void tell(const QString &news);
    static Identity identityOf(const QString &path);

    enum class Status { Unopened, Open, Off };
    Status status_ = Status::Unopened;
    QString path_;
    std::unique_ptr<GamesDatabase> db_;
    Identity opened_;
    QString message_;
    Running running_;
    GameClaim offered_;
    bool replacing_ = false;
};
