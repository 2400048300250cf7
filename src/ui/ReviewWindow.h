#pragma once

#include "game/Review.h"

#include <QDialog>
#include <atomic>
#include <memory>

class QLabel;
class ReviewChart;

// "Pelin arvio": the review of a game over the game's window. Every player's
// points, what their choices cost and what the dice gave, their costliest
// choices, and the chart of the game. In a game of several, each player's
// chance to win goes with them, and the chart shows either the expectations
// or the chances. Every line is text that Tab reaches and a screen reader
// reads; Esc, Enter and "Sulje" close it.
class ReviewWindow : public QDialog {
public:
    // With `table` (it must have its spread) a game of several shows its
    // chances to win: the present moment's at once, the costliest choices'
    // and the chart's as a worker reckons them.
    ReviewWindow(GameReview review, QWidget *parent, const strategy::Table *table = nullptr);
    ~ReviewWindow() override;

    // The lines as shown, in order: a player's summary, then their choices.
    QStringList lines() const;
    // Every chance the window shows has been reckoned.
    bool chancesComplete() const { return chancesComplete_; }
    ReviewChart *chart() const { return chart_; }

private:
    QLabel *addLine(bool summary);
    void showLines();
    void reckonChances(const strategy::Table &table, std::shared_ptr<strategy::TotalsCache> cache);
    void addChance(const ChancePiece &piece);

    GameReview review_;
    std::vector<QLabel *> lines_;
    ReviewChart *chart_ = nullptr;
    bool chancesComplete_ = true;
    std::shared_ptr<std::atomic<bool>> closed_ = std::make_shared<std::atomic<bool>>(false);
};
