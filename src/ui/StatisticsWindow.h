#pragma once

#include "history/StoredGames.h"

#include <QDialog>
#include <functional>
#include <vector>

class PlayerChart;
class QLabel;

// "Pelaajien tilastot": for every name that has played, most games first, two
// lines of figures, and a chart of the chosen player's finished games. Each
// player is one stop of Tab; Tab, the arrows or a click chooses the player
// the chart shows. Esc, Enter and "Sulje" close it.
class StatisticsWindow : public QDialog {
public:
    using GamesOf = std::function<std::vector<FinishedResult>(const QString &name)>;

    StatisticsWindow(std::vector<NameStatistics> names, GamesOf gamesOf, QWidget *parent);

    // Every player's lines as shown, in order, and the player chosen.
    QStringList lines() const;
    QString chosen() const;
    const PlayerChart *chart() const { return chart_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(std::size_t player);

    std::vector<NameStatistics> names_;
    GamesOf gamesOf_;
    std::vector<QLabel *> players_;
    PlayerChart *chart_ = nullptr;
    std::size_t chosen_ = 0;
};
