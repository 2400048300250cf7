#pragma once

#include "game/Review.h"

#include <QWidget>

// The game through every player's expectation: one line a player after every
// throw and choice, the turns 1..15 along the bottom, the points up the side
// and perfect play's expectation as a reference line; or, in a game of
// several, through every player's chance to win after every turn, with an
// even chance as the reference. Painted, not a picture, so it is sharp at
// any scale of the screen.
class ReviewChart : public QWidget {
    Q_OBJECT  // a screen reader hears it as a chart (ui/Accessibility)

public:
    enum class View { Expectation, Chance };

    explicit ReviewChart(const GameReview &review, QWidget *parent = nullptr);

    // The review as far as its chances are reckoned.
    void setReview(const GameReview &review);
    void setView(View view);
    View view() const { return view_; }
    const GameReview &shown() const { return review_; }

    // A player's line: colours a player can tell apart, also without telling
    // red from green, and a pattern of its own besides.
    static QColor lineColor(int player);
    static Qt::PenStyle lineStyle(int player);

    QSize sizeHint() const override { return {440, 380}; }
    // Where each player's name stands in the legend above the chart.
    std::vector<QRectF> legendPlaces() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString startText() const;  // "248,44"
    void describe();  // what a screen reader hears of the view shown

    GameReview review_;
    View view_ = View::Expectation;
    double low_ = 0, high_ = 0;  // the points shown up the side
};
