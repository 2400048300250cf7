#pragma once

#include "history/StoredGames.h"

#include <QDialog>
#include <functional>
#include <vector>

class QListWidget;
class QPushButton;

// "Aiemmat pelit": every game kept, newest first, one line a game. Enter or a
// double click opens the game's review; "Jatka peliä" resumes an unfinished
// one while no game is played. Esc and "Sulje" close it.
class EarlierGamesWindow : public QDialog {
public:
    EarlierGamesWindow(std::vector<GameSummary> games, QWidget *parent);

    std::function<void(qint64 id)> review;
    std::function<bool()> mayResume;
    std::function<void(qint64 id)> resume;

    QStringList lines() const;
    QListWidget *list() const { return list_; }
    QPushButton *resumeButton() const { return resume_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    const GameSummary *chosen() const;
    void updateResume();

    std::vector<GameSummary> games_;
    QListWidget *list_ = nullptr;
    QPushButton *resume_ = nullptr;
};
