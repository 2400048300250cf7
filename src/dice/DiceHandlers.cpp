// Throwing, marking and keeping the dice.
#include "dice/DieNames.h"
#include "game/Platform.h"
#include "scoring/ScoringRules.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/LandingInputBlocker.h"

#include <QMenu>
#include <QScopedValueRollback>
#include <QPushButton>

void Form1::dieClicked(int die)
{
    const std::size_t d = std::size_t(die);
    DieBox *box = dice[d];
    const int value = diceValues[d];
    const bool hasFace = value >= 1 && value <= 6;
    box->setToolTip(QString::fromUtf8(markedDieTip));
    if (hasFace && rethrowMarks[d] == 0) {
        showDie(die, markedDieFileName(value));
        rethrowMarks[d] = 1;
    } else {
        box->setToolTip(QString::fromUtf8(heldDieTip));
        if (hasFace && rethrowMarks[d] == 1) {
            showDie(die, dieFileName(value));
            rethrowMarks[d] = 0;
        }
    }
    if (hasFace) {
        GameRecord::Entry mark{GameRecord::Kind::Mark, currentPlayer};
        mark.die = die;
        mark.marked = rethrowMarks[d] == 1;
        record.add(mark);
    }
    OnkoValittu();
}

void Form1::OnkoValittu()
{
    int marked = 0;
    for (std::int16_t mark : rethrowMarks)
        marked += mark;
    CmdValitutUudelleen->setEnabled(marked != 0);
    CmdKaikkiUudelleen->setEnabled(marked == 0);
    CmdSäästäKaikki->setEnabled(marked == 0);
}

void Form1::showDiceOneByOne()
{
    // Each die lands on its own with a beep; the window repaints it at once
    // instead of returning to the event loop, so the player sees them land.
    // Input made meanwhile is dropped, also what is still queued at the end:
    // it was meant for the dice as they were.
    if (replaying()) {
        for (int d = 0; d < diceCount; ++d)
            showDie(d, dieFileName(diceValues[std::size_t(d)]));
        return;
    }
    const LandingInputBlocker blocker(this);
    const QScopedValueRollback<bool> landing(diceLanding_, true);
    for (int d = 0; d < diceCount; ++d) {
        const QString name = dieFileName(diceValues[std::size_t(d)]);
        platform_.beep();
        platform_.pauseBetweenDice();
        showDie(d, name);
        if (isVisible())
            dice[std::size_t(d)]->repaint();
    }
    platform_.deliverPendingInput();
}

void Form1::lockDiceForScoring()
{
    for (DieBox *die : dice)
        die->setEnabled(false);
    CmdKaikkiUudelleen->setEnabled(false);
    CmdSäästäKaikki->setEnabled(false);
    CmdValitutUudelleen->setEnabled(false);
    mayRecord = true;
    askForRow();
}

void Form1::CmdKaikkiUudelleen_Click()
{
    if (CmdKaikkiUudelleen->text() == QLatin1String("&Uusi peli")) {
        showStartScreen();
        return;
    }
    CmdKaikkiUudelleen->setText(QStringLiteral("&Kaikki uudelleen"));
    CmdKaikkiUudelleen->setToolTip(QStringLiteral("Heittää kaikki arpakuutiot uudelleen."));
    CmdSäästäKaikki->setToolTip(QStringLiteral("Lukitsee kaikki arpakuutiot tallennusta varten."));
    CmdValitutUudelleen->setEnabled(false);
    CmdSäästäKaikki->setEnabled(true);
    MenuPeruutus->menuAction()->setEnabled(false);
    // Every die is thrown: none stays marked to be thrown again.
    rethrowMarks.fill(0);
    if (throwCount > 0)
        record.add({GameRecord::Kind::Rethrow, currentPlayer, {}, {true, true, true, true, true}, 0});
    for (DieBox *die : dice) {
        die->setEnabled(true);
        die->setToolTip(QString::fromUtf8(heldDieTip));
    }

    // The clock decides how far the generator runs before the throw.
    const int warmUp = replaying() ? 0 : warmUpDraws(platform_.timeOfDay());
    for (int i = 0; i < warmUp; ++i)
        generator_.nextDieValue();

    if (throwCount < maxThrows)
        ++throwCount;
    if (throwCount == maxThrows)
        lockDiceForScoring();
    LblHeittokerrat->setCaption(QString::number(throwCount));
    for (int d = 0; d < diceCount; ++d)
        diceValues[std::size_t(d)] = nextDie(d);
    record.add({GameRecord::Kind::Throw, currentPlayer, diceValues, {}, 0});
    showDiceOneByOne();
}

void Form1::CmdValitutUudelleen_Click()
{
    if (throwCount < maxThrows)
        ++throwCount;
    LblHeittokerrat->setCaption(QString::number(throwCount));
    GameRecord::Entry rethrow{GameRecord::Kind::Rethrow, currentPlayer, {}, {}, 0};
    for (std::size_t d = 0; d < rethrowMarks.size(); ++d)
        rethrow.thrown[d] = rethrowMarks[d] == 1;
    record.add(rethrow);
    for (int d = 0; d < diceCount; ++d) {
        if (rethrowMarks[std::size_t(d)] == 1) {
            diceValues[std::size_t(d)] = nextDie(d);
            rethrowMarks[std::size_t(d)] = 0;
        }
    }
    record.add({GameRecord::Kind::Throw, currentPlayer, diceValues, {}, 0});
    showDiceOneByOne();
    CmdValitutUudelleen->setEnabled(false);
    CmdKaikkiUudelleen->setEnabled(true);
    CmdSäästäKaikki->setEnabled(true);
    for (DieBox *die : dice)
        die->setToolTip(QString::fromUtf8(heldDieTip));
    if (throwCount == maxThrows)
        lockDiceForScoring();
}

void Form1::CmdSäästäKaikki_Click()
{
    if (CmdSäästäKaikki->text() == QLatin1String("&Lopetus")) {
        endProgramAtOnce();
        return;
    }
    MenuPeruutus->menuAction()->setEnabled(true);
    for (DieBox *die : dice)
        die->setEnabled(false);
    mayRecord = true;
    lastCategory = category::keepAll;
    record.add({GameRecord::Kind::KeepAll, currentPlayer, diceValues, {}, 0});
    CmdKaikkiUudelleen->setEnabled(false);
    CmdValitutUudelleen->setEnabled(false);
    CmdSäästäKaikki->setEnabled(false);
    savedHeadingColor = LblOtsikko->backColor();
    askForRow();
}
