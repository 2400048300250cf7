#pragma once

#include <QString>
#include <memory>

class QLockFile;

// A window's claim on the game it plays: a lock file beside the games file
// ("pelit.sqlite.12.lock"), so that no other window offers that game. The
// lock names its holder's process: a window that was killed leaves a lock
// that the next one sees as stale and takes over, and two windows in one
// process see each other's locks as held.
class GameClaim {
public:
    GameClaim();
    ~GameClaim();
    GameClaim(GameClaim &&) noexcept;
    GameClaim &operator=(GameClaim &&) noexcept;

    // Claims game `id` of the file at `filePath`; false when another window
    // holds it (or the lock cannot be made). A claim held before is released.
    bool take(const QString &filePath, qint64 id);
    void release();
    qint64 id() const { return id_; }  // 0 when nothing is claimed

private:
    std::unique_ptr<QLockFile> lock_;
    qint64 id_ = 0;
};
