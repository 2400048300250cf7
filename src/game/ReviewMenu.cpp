// "Arvio... pelistä": the game reviewed against perfect play.
#include "game/ComputerPlayer.h"
#include "game/PerfectPlayTable.h"
#include "game/Review.h"
#include "ui/Form1.h"
#include "ui/ReviewWindow.h"

#include <QMenu>

void Form1::MenuPelistä_Click()
{
    // The computer waits while the review is read, and while it is made.
    if (reviewOpen_)
        return;  // asked twice while the table is still being made
    reviewOpen_ = true;
    computer_->hold();
    perfectPlayTable::whenReady(this, [this](const strategy::Table &table) {
        if (programEnded_ || !view().record->hasChoices()) {
            reviewOpen_ = false;
            computer_->lookAtTheGame();
            return;
        }
        auto *window = new ReviewWindow(reviewGame(*view().record, table), this);
        connect(window, &QDialog::finished, this, [this] {
            reviewOpen_ = false;
            computer_->lookAtTheGame();
        });
        window->open();
    });
}
