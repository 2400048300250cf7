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
// review of a game share it.
//
// It comes in two steps. The values come first: all the hint, the computer
// playing for points and the review's points need. The same table with its
// spread follows, made by the same worker once the values are there: what
// each player's chance to win and "Kone" playing to win need besides.
namespace perfectPlayTable {

enum class Need { Values, Spread };

// Starts computing the table, unless it is there or under way.
void prepare();
// The table with what `need` asks, or none while it is being computed (then
// it is started).
const strategy::Table *ifReady(Need need = Need::Values);
// Runs `then` from `context`'s event loop once the table with what `need`
// asks is there, at once when it already is; not at all if `context` is gone
// by then.
void whenReady(QObject *context, std::function<void(const strategy::Table &)> then, Need need = Need::Values);
// Waits for the table with its spread: for tools and tests, never the window.
const strategy::Table &wait();

} // namespace perfectPlayTable
