#include "history/GamesFile.h"

#include "history/FileCondition.h"
#include "history/GamesDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// SQLite's primary result codes, as Qt's driver passes them on (extended
// codes carry the primary one in their low byte).
enum SqliteCode { busy = 5, locked = 6, readOnly = 8, ioError = 10, corrupt = 11, full = 13, cannotOpen = 14, notADatabase = 26 };

int primaryCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

bool isDamage(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == corrupt || code == notADatabase;
}

QString reason(const QSqlError &error)
{
    switch (primaryCode(error)) {
    case full: return QStringLiteral("levy on täynnä.");
    case busy:
    case locked: return QStringLiteral("toinen ohjelma pitää sitä lukittuna.");
    case readOnly: return QStringLiteral("siihen ei voi kirjoittaa.");
    case cannotOpen: return QStringLiteral("sitä ei voi avata.");
    case corrupt:
    case notADatabase: return QStringLiteral("se on vioittunut.");
    // A full disk reads as this too when the system says so only at the
    // next write (EFBIG past a file size limit, or a quota).
    case ioError: return QStringLiteral("sen luku tai kirjoitus epäonnistui (levy voi olla täynnä tai viallinen).");
    default: return error.text() + u'.';
    }
}

// With the effective user's rights, as the file will be made with them. The
// -wal and -shm files and the claims need the folder as much as the file.
bool folderWritable(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Other windows hold the folder's lock for a move of a few files.
constexpr int moveLockWaitMs = 3000;
// Numbers tried for a new game whose lock another window holds, in a file
// that was moved aside under it; past these the game is kept unclaimed.
constexpr int claimTries = 8;

} // namespace

GamesFile::GamesFile(const QString &folder) : path_(QDir(folder).filePath(QStringLiteral("pelit.sqlite"))) {}

GamesFile::~GamesFile() = default;

bool GamesFile::open() { return ready(); }

bool GamesFile::keeping() const { return status_ == Status::Open; }

QString GamesFile::takeMessage()
{
    return std::exchange(message_, QString());
}

GamesFile::Identity GamesFile::identityOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

void GamesFile::tell(const QString &news)
{
    message_ = message_.isEmpty() ? news : message_ + u'\n' + news;
}

void GamesFile::stop(const QString &why)
{
    db_.reset();
    if (status_ == Status::Off)
        return;
    status_ = Status::Off;
    // The claims stay: the game is still played in this window.
    tell(QStringLiteral("Pelejä ei tallenneta tiedostoon %1: %2").arg(path_, why));
}

bool GamesFile::ready()
{
    if (status_ == Status::Off)
        return false;
    // Moved aside by another window that found it damaged, or deleted: the
    // running game is written whole into the file now under the name.
    if (status_ == Status::Open && identityOf(path_) != opened_) {
        db_.reset();  // SQLite sees the file moved, and neither folds nor deletes its -wal file
        status_ = Status::Unopened;
    }
    return status_ == Status::Open || openFile();
}

bool GamesFile::openFile()
{
    const Identity judged = identityOf(path_);
    switch (inspectGamesFile(path_)) {
    case FileCondition::Folder:
        stop(QStringLiteral("sen paikalla on kansio."));
        return false;
    case FileCondition::Damaged:
        return replaceDamaged(judged);
    case FileCondition::Missing:
    case FileCondition::Plausible:
        break;
    }
    if (!folderWritable(path_)) {
        stop(QStringLiteral("kansioon ei voi kirjoittaa."));
        return false;
    }
    db_ = std::make_unique<GamesDatabase>(path_);
    switch (db_->open()) {
    case GamesDatabase::Opening::Ready:
        break;
    case GamesDatabase::Opening::Later:
        stop(QStringLiteral("sen on tehnyt uudempi Kopperi."));
        return false;
    case GamesDatabase::Opening::Foreign:
        stop(QStringLiteral("se on jonkin toisen ohjelman tietokanta."));
        return false;
    case GamesDatabase::Opening::NoDriver:
        stop(QStringLiteral("Qt:n SQLite-ajuri puuttuu (paketti libqt6sql6-sqlite)."));
        return false;
    case GamesDatabase::Opening::Damaged:
        return replaceDamaged(judged);
    case GamesDatabase::Opening::Failed:
        if (isDamage(db_->error()))
            return replaceDamaged(judged);
        stop(reason(db_->error()));
        return false;
    }
    status_ = Status::Open;
    opened_ = identityOf(path_);
    if (running_.id == 0)
        return true;
    if (!running_.active) {
        running_ = Running{};  // a finished game's late entries go with its file
        return true;
    }
    // The running game was kept in a file that is no longer here.
    running_.id = 0;
    running_.claim.release();
    if (runOnce([this](GamesDatabase &db) { return writeRunningWhole(db); }, true))
        return true;
    stop(reason(db_->error()));
    return false;
}

bool GamesFile::replaceDamaged(const Identity &judged)
{
    if (replacing_) {
        stop(QStringLiteral("se on vioittunut."));
        return false;
    }
    replacing_ = true;
    const auto done = qScopeGuard([this] { replacing_ = false; });
    {
        // Two windows finding the same damage move it aside once.
        QLockFile lock(path_ + QStringLiteral(".lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(moveLockWaitMs)) {
            stop(QStringLiteral("se on vioittunut, eikä sitä voitu siirtää syrjään."));
            return false;
        }
        if (identityOf(path_) == judged) {
            QString error;
            const QString aside = moveAside(path_, &error);
            if (aside.isEmpty()) {
                stop(QStringLiteral("se on vioittunut, eikä sitä voitu siirtää syrjään (%1).").arg(error));
                return false;
            }
            tell(QStringLiteral("Pelitiedosto %1 oli vioittunut. Se on siirretty nimelle %2, ja pelit tallennetaan "
                                "uuteen tiedostoon.")
                     .arg(path_, aside));
        }
    }
    // Closed once moved: SQLite then sees the file gone from its name and
    // leaves its -wal file alone, where it would otherwise fold it into the
    // file and delete it by the name, which a new file's log may have by now.
    db_.reset();
    status_ = Status::Unopened;
    return openFile();
}

bool GamesFile::runOnce(const Work &work, bool transaction)
{
    if (!transaction)
        return work(*db_);
    if (!db_->begin())
        return false;
    if (work(*db_) && db_->commit())
        return true;
    db_->rollback();
    return false;
}

bool GamesFile::attempt(const Work &work, bool transaction)
{
    if (!ready())
        return false;
    if (runOnce(work, transaction))
        return true;
    if (isDamage(db_->error())) {
        if (!replaceDamaged(opened_))
            return false;
        if (runOnce(work, transaction))
            return true;
    }
    stop(reason(db_->error()));
    return false;
}

bool GamesFile::insertRunning(GamesDatabase &db, qint64 *id, GameClaim *claim)
{
    const std::optional<qint64> largest = db.largestId();
    if (!largest)
        return false;
    *id = *largest + 1;
    for (int tries = 1; !claim->take(path_, *id) && tries < claimTries; ++tries)
        ++*id;
    return db.insertGame(*id, running_.record, 1);
}

bool GamesFile::writeStanding(GamesDatabase &db, qint64 id, const SheetTally &before, const SheetTally &after)
{
    for (std::size_t seat = 0; seat < after.players(); ++seat) {
        if (before.points(seat) != after.points(seat) && !db.setPoints(id, int(seat), after.points(seat)))
            return false;
    }
    return before.turn() == after.turn() || db.setTurn(id, after.turn());
}

bool GamesFile::writeRunningWhole(GamesDatabase &db)
{
    qint64 id = 0;
    GameClaim claim;
    if (!insertRunning(db, &id, &claim))
        return false;
    for (std::size_t seq = 0; seq < running_.record.entries.size(); ++seq) {
        if (!db.insertEntry(id, qint64(seq), running_.record.entries[seq]))
            return false;
    }
    if (!writeStanding(db, id, SheetTally(running_.record.players.size()), running_.tally))
        return false;
    running_.id = id;
    running_.claim = std::move(claim);
    return true;
}

// The entries of `record` from `from` on, appended to the running game (made
// at its first entry), with what they change of the points and the turn.
bool GamesFile::appendEntries(GamesDatabase &db, const GameRecord &record, std::size_t from, Appended *appended)
{
    appended->id = running_.id;
    appended->tally = running_.tally;
    if (appended->id == 0 && !insertRunning(db, &appended->id, &appended->claim))
        return false;
    for (std::size_t seq = from; seq < record.entries.size(); ++seq) {
        if (!db.insertEntry(appended->id, qint64(seq), record.entries[seq]))
            return false;
        appended->tally.apply(record.entries[seq]);
    }
    return writeStanding(db, appended->id, running_.tally, appended->tally);
}

void GamesFile::takeAppended(const GameRecord &record, Appended &appended)
{
    auto &entries = running_.record.entries;
    entries.insert(entries.end(), record.entries.begin() + std::ptrdiff_t(entries.size()), record.entries.end());
    running_.tally = appended.tally;
    if (appended.id != running_.id) {
        running_.id = appended.id;
        running_.claim = std::move(appended.claim);
    }
}

void GamesFile::beginGame(const GameRecord &record)
{
    offered_.release();
    running_ = Running{};
    running_.active = true;
    running_.record.start(record.players, record.started);
    running_.tally = SheetTally(record.players.size());
    keep(record);
}

void GamesFile::keep(const GameRecord &record)
{
    if (!(running_.active || running_.finished) || record.entries.size() <= running_.record.entries.size())
        return;
    Appended appended;
    const auto write = [&](GamesDatabase &db) {
        appended = Appended{};
        return appendEntries(db, record, running_.record.entries.size(), &appended);
    };
    if (attempt(write, true))
        takeAppended(record, appended);
}

void GamesFile::finishGame(const GameRecord &record, const std::vector<ReviewFigures> &review)
{
    if (!running_.active)
        return;
    Appended appended;
    const auto finish = [&](GamesDatabase &db) {
        appended = Appended{};
        if (!appendEntries(db, record, running_.record.entries.size(), &appended))
            return false;
        const SheetTally &tally = appended.tally;
        int best = 0;
        for (std::size_t seat = 0; seat < tally.players(); ++seat)
            best = std::max(best, tally.points(seat));
        for (std::size_t seat = 0; seat < tally.players(); ++seat) {
            GamesDatabase::Result result;
            result.total = tally.points(seat);
            result.bonus = tally.bonusMade(seat);
            result.yatzy = tally.yatzyScored(seat);
            result.won = result.total == best;
            if (review.size() == tally.players())
                result.review = review[seat];
            if (!db.setResult(appended.id, int(seat), result))
                return false;
        }
        return db.setState(appended.id, GamesDatabase::GameState::Finished);
    };
    // A game with no entry was never in the file.
    if (record.entries.empty() || !attempt(finish, true)) {
        running_.active = false;  // any claim stays while the window shows the game
        return;
    }
    takeAppended(record, appended);
    running_.active = false;
    running_.finished = true;
    running_.claim.release();
}

void GamesFile::giveUp()
{
    if (running_.active && running_.id != 0) {
        const qint64 id = running_.id;
        attempt([id](GamesDatabase &db) { return db.setState(id, GamesDatabase::GameState::GivenUp); }, true);
    }
    running_ = Running{};
}

std::optional<StoredGame> GamesFile::gameToOffer()
{
    offered_.release();
    std::vector<qint64> ids;
    if (!attempt([&ids](GamesDatabase &db) { return db.playingGames(&ids); }, false))
        return std::nullopt;
    for (const qint64 id : ids) {
        GameClaim claim;
        if (id == running_.id || !claim.take(path_, id))
            continue;  // played in a window now
        std::optional<StoredGame> game = readGame(id);
        if (!keeping())
            return std::nullopt;
        if (game && !game->record.entries.empty()) {
            offered_ = std::move(claim);
            return game;
        }
    }
    return std::nullopt;
}

bool GamesFile::resumeGame(qint64 id)
{
    GameClaim claim;
    if (offered_.id() == id)
        claim = std::move(offered_);
    else if (!claim.take(path_, id))
        return false;
    const std::optional<StoredGame> game = readGame(id);
    if (!game)
        return false;
    running_ = Running{};
    running_.active = true;
    running_.id = id;
    running_.record = game->record;
    running_.tally = SheetTally(game->record.players.size());
    for (const GameRecord::Entry &entry : game->record.entries)
        running_.tally.apply(entry);
    running_.claim = std::move(claim);
    return true;
}

void GamesFile::declineGame(qint64 id)
{
    attempt([id](GamesDatabase &db) { return db.setState(id, GamesDatabase::GameState::Declined); }, true);
    if (offered_.id() == id)
        offered_.release();
}

std::optional<StoredGame> GamesFile::readGame(qint64 id)
{
    std::optional<StoredGame> game;
    if (!attempt([&](GamesDatabase &db) { return db.readGame(id, &game); }, false))
        return std::nullopt;
    return game;
}

bool GamesFile::holdsGames()
{
    std::optional<qint64> largest;
    return attempt([&](GamesDatabase &db) { return (largest = db.largestId()).has_value(); }, false) && largest &&
           *largest > 0;
}

std::vector<GameSummary> GamesFile::earlierGames()
{
    std::vector<GameSummary> games;
    if (!attempt([&](GamesDatabase &db) { return db.summaries(&games); }, false))
        games.clear();
    return games;
}

std::vector<NameStatistics> GamesFile::statistics()
{
    std::vector<NameStatistics> names;
    if (!attempt([&](GamesDatabase &db) { return db.statistics(&names); }, false))
        names.clear();
    return names;
}

std::vector<FinishedResult> GamesFile::finishedGames(const QString &name)
{
    std::vector<FinishedResult> results;
    if (!attempt([&](GamesDatabase &db) { return db.finishedResults(name, &results); }, false))
        results.clear();
    return results;
}
