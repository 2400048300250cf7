#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>

class QObject;

// Everything the program needs from its platform, behind one narrow seam:
// the real program uses QtPlatform, tests a fake that answers message boxes,
// sets the clock and sees the program end, without dialogs or waits.
class Platform {
public:
    enum class Icon { Critical, Information };

    virtual ~Platform() = default;

    // The folder of the program, where its pictures and data files are.
    virtual QString programFolder() = 0;
    // A Yes/No question with the question icon, Yes as the default. True = Yes.
    // Lines of the text are separated by a single carriage return.
    virtual bool askYesNo(const QString &text) = 0;
    // A notice with an OK button only.
    virtual void showMessage(const QString &text, Icon icon) = 0;
    virtual void beep() = 0;
    // The time of day from the clock itself, whatever the user's time format.
    virtual QTime timeOfDay() = 0;
    virtual QDate today() = 0;
    // The short pause between two dice landing.
    virtual void pauseBetweenDice() = 0;
    // Delivers what has arrived but still waits in the queue while the dice
    // land: the clicks and keys made meanwhile, and with them the queued
    // calls and a close request. No timer runs.
    virtual void deliverPendingInput() = 0;
    // Runs the computer's next step after a pause that lets the players
    // follow it, from the event loop, unless `context` is gone by then.
    virtual void afterComputerPause(QObject *context, std::function<void()> step) = 0;
    // Ends the program at once: no further handler runs and nothing is saved.
    // Only a test platform returns from it.
    virtual void endProgram(int exitStatus) = 0;
};
