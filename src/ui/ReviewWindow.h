#pragma once

#include "game/Review.h"

#include <QDialog>

class QLabel;

// "Pelin arvio": the review of a game over the game's window. Every player's
// points, what their choices cost and what the dice gave, their costliest
// choices, and the chart of the game. Every line is text that Tab reaches and
// a screen reader reads; Esc, Enter and "Sulje" close it.
class ReviewWindow : public QDialog {
public:
    ReviewWindow(const GameReview &review, QWidget *parent);

    // The lines as shown, in order: a player's summary, then their choices.
    QStringList lines() const;

private:
    QLabel *addLine(const QString &text, bool summary);

    std::vector<QLabel *> lines_;
};
