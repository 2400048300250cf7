#pragma once

#include "FakePlatform.h"
#include "MonkeyChecks.h"
#include "MonkeyRandom.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// What one run did, for the report.
struct MonkeyFigures {
    qint64 actions = 0;
    int gamesEnded = 0;   // games that reached their end (with or without a place offered)
    int computerGames = 0; // of them, games the computer played in
    int entries = 0;      // names stored in the best-99 list
    qint64 totalsSum = 0; // final totals of the players of the ended games
    int totals = 0;
    int windows = 0;      // windows started, the first one included
    int endedInWait = 0;  // programs ended while the window waited for a name
    qint64 idleSteps = 0; // steps that let an ended window's handlers return first
    int delayedClicks = 0; // clicks that came a moment after their access key
    double seconds = 0;   // the machine's, unlike the rest, which a seed replays
};

// The platform as the monkey plays it: Yes or No at random, or always Yes
// while the run is being wound up.
class MonkeyPlatform : public FakePlatform {
public:
    explicit MonkeyPlatform(MonkeyRandom &random) : random_(random) {}
    bool askYesNo(const QString &text) override;
    bool answerYes = false;
    QString lastQuestion;

private:
    MonkeyRandom &random_;
};

// Every control of the window a player can click, with its name for the log
// (not the name boxes: a click could open their lists).
std::vector<std::pair<QString, QWidget *>> monkeyControls(Form1 &form);

// Plays the real window with `budget` seeded random user actions. Every action
// is a QTimer callback that schedules the next one before it acts, so actions
// go on while the window waits for a best-99 name inside its own event loop.
// When the program ends, a new window starts in the same program folder, but
// only from a callback that no handler of the old window is below.
class MonkeyPlayer : public QObject {
public:
    // trace 1 prints every action, 2 also the window after it.
    MonkeyPlayer(std::uint32_t seed, qint64 budget, int trace);
    ~MonkeyPlayer() override;

    // Runs to the end of the budget or the first broken rule; returns what
    // broke (with the seed, the action number and the latest actions) or "".
    QString run();
    const MonkeyFigures &figures() const { return figures_; }

private:
    struct Window {
        explicit Window(MonkeyRandom &random) : platform(random) {}
        MonkeyPlatform platform;  // outlives the form
        std::unique_ptr<Form1> form;
    };

    void scheduleNext();
    void step();
    void windUp(int outer);
    void startWindow();
    void prepareFolder();

    // The actions, in MonkeyActions.cpp: one per call, chosen by the window's state.
    void act();
    void actInGame(Form1 &f);
    void actOnStartScreen(Form1 &f);
    void actOnEntry(Form1 &f);
    void actAfterGame(Form1 &f);

    void clickControl(QWidget *widget, const QString &name);
    void clickAnyControl();
    void aimForOneFace(Form1 &f);
    void clickRow(Form1 &f);
    void moveScrollBar(Form1 &f);
    void closeWindow(Form1 &f);
    void chooseMenu(QMenu *menu, QAction *item, const QString &name);
    void typeInto(QWidget *widget, const QString &text);
    void enterName(Form1 &f);
    void pressOk(Form1 &f, const QString &how);

    // Keys, in MonkeyKeys.cpp.
    void pressKey(Form1 &f);
    void pressAccessKey(Form1 &f);
    void watchDelayedClicks(Form1 &f);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void scheduleDelayedClick();
    void landDelayedClick();

    void note(const QString &what);
    void check();
    void fail(const QString &what);

    std::uint32_t seed_;
    qint64 budget_;
    int trace_;
    MonkeyRandom random_;
    ProgramFolder folder_;
    std::unique_ptr<Window> window_;
    std::vector<std::pair<QString, QWidget *>> controls_;
    ListFileCheck listCheck_;
    BestList shownList_;                    // the window's list at the latest check
    std::pair<int, int> lastOffer_{-1, -1}; // (game, player) of the latest entry
    MonkeyFigures figures_;
    QElapsedTimer clock_;
    QList<QAbstractButton *> buttons_;  // the window's, whose delayed clicks the monkey lets come
    qint64 delayedClickAt_ = -1;        // the action at which the pending delayed click comes; -1: none
    int landingTimer_ = 0;              // the button timer whose event is let through

    int depth_ = 0;            // step() calls on the stack
    qint64 idleSteps_ = 0;     // steps that waited for the old window's handlers to return
    bool windingUp_ = false;
    bool finished_ = false;
    bool atEnd_ = false;       // the current game has reached its end
    QString failure_;
    QStringList recent_;       // the latest actions, for the failure report
    std::function<void()> onFinished_;
};
