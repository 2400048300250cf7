#include "game/PerfectPlayTable.h"

#include "strategy/Strategy.h"

#include <QFutureWatcher>
#include <QtConcurrent>

namespace perfectPlayTable {

namespace {

// Started once, and only ever touched from the window's thread: the worker
// hands its table back through the future alone.
QFuture<std::shared_ptr<const strategy::Table>> &future()
{
    static QFuture<std::shared_ptr<const strategy::Table>> table;
    return table;
}

} // namespace

void prepare()
{
    if (future().isValid())
        return;
    // With its spread, for the chances to win and Kone playing to win.
    future() = QtConcurrent::run([] {
        return std::make_shared<const strategy::Table>(strategy::Table::computeWithSpread(strategy::Rules::ours()));
    });
}

const strategy::Table *ifReady()
{
    prepare();
    return future().isFinished() ? future().result().get() : nullptr;
}

void whenReady(QObject *context, std::function<void(const strategy::Table &)> then)
{
    if (const strategy::Table *table = ifReady()) {
        then(*table);
        return;
    }
    // The watcher lives with the context: gone with it, it calls nothing.
    auto *watcher = new QFutureWatcher<std::shared_ptr<const strategy::Table>>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(*watcher->result());
    });
    watcher->setFuture(future());
}

const strategy::Table &wait()
{
    prepare();
    return *future().result();
}

} // namespace perfectPlayTable
