#include "history/GameClaim.h"

#include <QLockFile>

GameClaim::GameClaim() = default;
GameClaim::~GameClaim() = default;
GameClaim::GameClaim(GameClaim &&) noexcept = default;
GameClaim &GameClaim::operator=(GameClaim &&) noexcept = default;

bool GameClaim::take(const QString &filePath, qint64 id)
{
    if (id == id_ && lock_)
        return true;
    release();
    auto lock = std::make_unique<QLockFile>(QStringLiteral("%1.%2.lock").arg(filePath).arg(id));
    // A game is played for hours: only a holder that is gone leaves a stale
    // claim, never the age of the lock.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    id_ = id;
    return true;
}

void GameClaim::release()
{
    lock_.reset();  // unlocks and removes the file
    id_ = 0;
}
