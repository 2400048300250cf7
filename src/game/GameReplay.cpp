#include "game/GameReplay.h"

#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/KeyboardLabel.h"

#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

using Kind = GameRecord::Kind;

GameReplay::GameReplay(Form1 &form, GameRecord stored) : form_(form), stored_(std::move(stored))
{
}

void GameReplay::run()
{
    const QScopedValueRollback<bool> playing(playing_, true);
    Form1 &f = form_;
    const int players = int(stored_.players.size());
    if (players < 1 || players > Form1::maxPlayers || !f.CmdAloitaPeli->isVisible())
        return;
    f.playerCountOptions[std::size_t(players - 1)]->click();
    for (int k = 0; k < players; ++k)
        f.ComboNimi[std::size_t(k)]->setCurrentText(stored_.players[std::size_t(k)].typed);
    f.CmdAloitaPeli->click();
    if (f.CmdAloitaPeli->isVisible())
        return;
    f.record.started = stored_.started;
    while (next_ < stored_.entries.size() && playing_ && !f.programEnded()) {
        if (!playEntry(next_) || !fits())
            break;
    }
}

int GameReplay::landedDie(int die) const
{
    return landing_[std::size_t(die)];
}

bool GameReplay::takeStoredEntry(int player)
{
    // The entries are the last of a game, in player order.
    if (next_ >= stored_.entries.size() || stored_.entries[next_].kind != Kind::ListEntry ||
        stored_.entries[next_].player != player)
        return false;
    form_.record.add(stored_.entries[next_]);
    if (++next_ == stored_.entries.size())
        playing_ = false;  // what follows is the players' own
    return true;
}

bool GameReplay::playEntry(std::size_t at)
{
    Form1 &f = form_;
    const GameRecord::Entry &entry = stored_.entries[at];
    const auto press = [](EventLabel *label) { keyboard::click(*label); };
    next_ = at + 1;
    switch (entry.kind) {
    case Kind::Rethrow: {
        // A choice to throw again comes with the throw it made.
        if (at + 1 >= stored_.entries.size() || stored_.entries[at + 1].kind != Kind::Throw)
            return false;
        landing_ = stored_.entries[at + 1].dice;
        next_ = at + 2;
        // Five dice marked are thrown by the marked dice's button, not the other.
        const bool marked = std::any_of(f.rethrowMarks.begin(), f.rethrowMarks.end(), [](auto mark) { return mark == 1; });
        (marked ? f.CmdValitutUudelleen : f.CmdKaikkiUudelleen)->click();
        return true;
    }
    case Kind::Throw:
        landing_ = entry.dice;
        f.CmdKaikkiUudelleen->click();
        return true;
    case Kind::Mark:
        if (entry.die < 0 || entry.die >= Form1::diceCount)
            return false;
        press(f.dice[std::size_t(entry.die)]);
        return true;
    case Kind::KeepAll:
        f.CmdSäästäKaikki->click();
        return true;
    case Kind::Record:
    case Kind::Refusal:
        if (entry.category < 1 || entry.category > category::count)
            return false;
        press(f.categoryHeadings[std::size_t(entry.category)]);
        return true;
    case Kind::Undo:
        f.MenuEdellisenValinnanPeruutus->trigger();
        return true;
    case Kind::ListEntry:
        return false;  // an entry comes only at the end of the game, where it is taken
    }
    return false;
}

bool GameReplay::fits() const
{
    const std::vector<GameRecord::Entry> &played = form_.record.entries;
    return played.size() == next_ && std::equal(played.begin(), played.end(), stored_.entries.begin());
}
