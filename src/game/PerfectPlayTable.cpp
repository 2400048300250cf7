#include "game/PerfectPlayTable.h"

#include "strategy/Strategy.h"

#include <QFutureWatcher>
#include <QtConcurrent>

namespace perfectPlayTable {

namespace {

using Made = QFuture<std::shared_ptr<const strategy::Table>>;

// Started once, and only ever touched from the window's thread: the worker
// hands its tables back through the futures alone. Both tables live for the
// run, so that what was handed out stays valid.
Made &values()
{
    static Made table;
    return table;
}

Made &withSpread()
{
    static Made table;
    return table;
}

Made &made(Need need)
{
    prepare();
    return need == Need::Values ? values() : withSpread();
}

} // namespace

void prepare()
{
    if (values().isValid())
        return;
    // The values alone take half the time of the table with its spread: the
    // first hint of a run, and the computer's first step, wait for no more.
    values() = QtConcurrent::run(
        [] { return std::make_shared<const strategy::Table>(strategy::Table::compute(strategy::Rules::ours())); });
    withSpread() = values().then(QtFuture::Launch::Async, [](const std::shared_ptr<const strategy::Table> &) {
        return std::make_shared<const strategy::Table>(strategy::Table::computeWithSpread(strategy::Rules::ours()));
    });
}

const strategy::Table *ifReady(Need need)
{
    Made &table = made(need);
    return table.isFinished() ? table.result().get() : nullptr;
}

void whenReady(QObject *context, std::function<void(const strategy::Table &)> then, Need need)
{
    if (const strategy::Table *table = ifReady(need)) {
        then(*table);
        return;
    }
    // The watcher lives with the context: gone with it, it calls nothing.
    auto *watcher = new QFutureWatcher<std::shared_ptr<const strategy::Table>>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(*watcher->result());
    });
    watcher->setFuture(made(need));
}

const strategy::Table &wait()
{
    return *made(Need::Spread).result();
}

} // namespace perfectPlayTable
