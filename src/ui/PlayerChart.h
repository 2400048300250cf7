#pragma once

#include "history/StoredGames.h"

#include <QWidget>
#include <vector>

// A player's finished games in order: each game's total as a dot, the
// average of the last ten games as a line, and what each game's choices
// cost as a bar from the bottom, so that a player sees whether they improve.
// Painted for the screen's scale; a screen reader hears what it shows.
class PlayerChart : public QWidget {
    Q_OBJECT  // a screen reader hears it as a chart (ui/Accessibility)

public:
    explicit PlayerChart(QWidget *parent = nullptr);

    void showGames(const QString &name, std::vector<FinishedResult> games);
    // The average of the ten games up to each game (fewer at the start).
    const std::vector<double> &averages() const { return averages_; }

    QSize sizeHint() const override { return {440, 380}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString name_;
    std::vector<FinishedResult> games_;
    std::vector<double> averages_;
};
