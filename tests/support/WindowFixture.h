#pragma once

#include "FakePlatform.h"
#include "scoring/ScoringRules.h"
#include "toplist/BestListFile.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// A program folder of its own for every test, holding nimet.txt and lista99.txt.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    void remove(const QString &name) const;

private:
    QTemporaryDir dir_;
};

// A valid list whose place i + 1 (i = 0..98) has score `score(i)`, named
// "Nimi<i+1>" and dated 01.01.26.
BestList makeList(const std::function<int(int)> &score);
QByteArray listFileBytes(const BestList &list);

// The window started in `folder` with the fake platform, shown offscreen.
struct Window {
    FakePlatform platform;
    std::unique_ptr<Form1> form;
    bool loaded = false;

    // `answers`: to the questions of the start (a game left unfinished).
    explicit Window(const ProgramFolder &folder, QList<bool> answers = {});
    // The same in a folder of the test's own.
    explicit Window(const QString &folder, QList<bool> answers = {});
    Form1 &operator*() { return *form; }
    Form1 *operator->() { return form.get(); }
};

// Clicks as a player does: a press and release on the control.
void click(QWidget *widget);
// Chooses a menu item; fails the test when its menu is disabled.
bool choose(QMenu *menu, QAction *item);

// The start screen: choose the player count, type the names, start.
void startGame(Form1 &form, int players, const QStringList &names = {});
// Throws all dice and makes them show `values`, as if the generator had thrown them.
void throwAll(Form1 &form, const Dice &values);
// Throws, keeps all and records the dice in the row of `code` for the player to play.
void record(Form1 &form, int code, const Dice &values);

// Runs `action` as soon as the event loop is entered again (to answer the
// best-99 name entry while the window waits for it).
void whenWaiting(std::function<void()> action);

// A best-99 list whose every place beats any total a game can reach (374), so
// the end of a game offers no place and does not wait for a name entry. Write
// it before the window starts.
void writeUnbeatableList(const ProgramFolder &folder);
// Takes back the latest choice through the menu "P&eruutus"; false (and
// nothing happens) while the menu is disabled.
bool undo(Form1 &form);
// Clicks the dice with these indexes, in order (marks or unmarks them).
void clickDice(Form1 &form, std::initializer_list<int> indexes);
// The picture file each die shows, die 0 first.
QStringList diePictures(const Form1 &form);
// The held pictures of these values: "4.bmp" for a 4.
QStringList facePictures(const Dice &values);
bool undoEnabled(const Form1 &form);

// The heading's two backgrounds: choose a row, or play on.
inline const QColor headingDarkRed{192, 0, 0};
inline const QColor headingBlue{0, 0, 255};
// Every caption of the score sheet, player by player: the fifteen category
// cells, the upper sum, the bonus and the grand total.
QStringList sheetCaptions(const Form1 &form);

// Everything the window shows of a game, control by control: the name
// headers and their colours, every cell, the dice with their pictures and
// tooltips, the heading and its colour, the throw counter, whose turn it is,
// every button's caption and state, the start screen and the best-99 entry
// and view, and the menus. Two windows that show the same game give the same.
// The best-99 view comes last, and only while it marks a place
// (`listView` IfMarked): otherwise it shows nothing of the game.
enum class ListView { Always, IfMarked };
QStringList windowState(const Form1 &form, ListView listView = ListView::Always);

// Five dice as a failing comparison prints them: "(6, 6, 6, 2, 2)".
namespace QTest {
template <>
inline char *toString(const Dice &dice)
{
    QByteArray text("(");
    for (std::size_t d = 0; d < dice.size(); ++d)
        text += (d ? ", " : "") + QByteArray::number(dice[d]);
    return qstrdup(text + ")");
}
} // namespace QTest

// Runs `action` as soon as the event loop is entered again, unless `context`
// is gone by then (a game's later name entries, chained from the earlier).
void whenWaiting(QObject *context, std::function<void()> action);

// A whole game in which every player ends with a chosen total (0..374). The
// rows are filled in code order, one row of every player per round, with dice
// whose scores add up to the player's total, the upper bonus counted where
// the upper sum earns it. Start the game first, with as many players.
class PlannedGame {
public:
    PlannedGame(Form1 &form, const QList<int> &totals);

    // Every score but the last player's fifteenth.
    void playToLastScore();
    // The score that ends the game. Schedule the answers to the best-99 name
    // entries (whenWaiting) before it.
    void playLastScore();
    void play();

    // The dice `player` records in the row of `code`.
    Dice dice(int player, int code) const { return dice_[std::size_t(player)][std::size_t(code)]; }

private:
    Form1 &form_;
    std::vector<std::array<Dice, 16>> dice_;
};

// Keeps a test from hanging in the end-of-game wait: if nothing has released
// it after `ms`, closes the window answering Yes, which ends the program and
// the wait. A test that expects no wait checks that it never fired.
class WaitGuard {
public:
    explicit WaitGuard(Window &window, int ms = 5000);
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    bool fired_ = false;
};
