// "Arvio... pelistä": the game reviewed against perfect play.
#include "game/ComputerPlayer.h"
#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "ui/Form1.h"
#include "ui/ReviewWindow.h"

#include <QDialog>
#include <QMenu>

void Form1::MenuPelistä_Click()
{
    // The computer waits while the review is read, and while it is made.
    if (reviewAsked_)
        return;  // asked twice while the table is still being made
    reviewAsked_ = true;
    ++windowsOpen_;
    computer_->hold();
    const perfectPlayTable::Need need =
        view().record->players.size() > 1 ? perfectPlayTable::Need::Spread : perfectPlayTable::Need::Values;
    perfectPlayTable::whenReady(
        this,
        [this](const strategy::Table &table) {
            reviewAsked_ = false;
            --windowsOpen_;
            if (programEnded_ || !view().record->hasChoices()) {
                computer_->lookAtTheGame();
                return;
            }
            openOverGame(new ReviewWindow(reviewGame(*view().record, table), this, &table));
        },
        need);
}

void Form1::openOverGame(QDialog *window)
{
    ++windowsOpen_;
    computer_->hold();
    connect(window, &QDialog::finished, this, [this] {
        --windowsOpen_;
        computer_->lookAtTheGame();
    });
    window->open();
}
