#pragma once

#include <QObject>

class Form1;
class Platform;
class QWidget;

// The computer at the table: when a player named "Kone" is to play, it plays
// perfectly through the same entry points as a player's clicks (throw all,
// mark dice, throw the marked ones, keep all, choose a row), one step at a
// time with a pause before each, so that the players can follow it.
class ComputerPlayer : public QObject {
public:
    ComputerPlayer(Form1 &form, Platform &platform);

    // Looks at the game, as after every action: when the computer is to play,
    // its next step comes after the pause; otherwise none is pending.
    void lookAtTheGame();
    // No step runs until the next look (a question is open, or the program ends).
    void hold();
    // True while the computer presses a control: its presses act in its turn.
    bool pressing() const { return pressing_; }

private:
    void step();
    void press(QWidget *control);

    Form1 &form_;
    Platform &platform_;
    bool stepPending_ = false;
    unsigned pendingStep_ = 0;  // a step scheduled before the latest hold does nothing
    bool pressing_ = false;
};
