#pragma once

#include <functional>

class QObject;
namespace strategy {
class Table;
}

// The table of perfect play, one for the program's whole run. It is computed
// in a worker thread, on every core, when first wanted or ahead of that once a
// game starts, and never on the window's thread: the window does not wait for
// it at start-up nor freeze while it is made. The computer, the hint and the
// review of a game share it, and the chances to win: it carries its spread.
namespace perfectPlayTable {

// Starts computing the table, unless it is there or under way.
void prepare();
// The table, or none while it is being computed (then it is started).
const strategy::Table *ifReady();
// Runs `then` from `context`'s event loop once the table is there, at once
// when it already is; not at all if `context` is gone by then.
void whenReady(QObject *context, std::function<void(const strategy::Table &)> then);
// Waits for the table: for tools and tests, never the window.
const strategy::Table &wait();

} // namespace perfectPlayTable
