// Recording a score: totals, the upper bonus, the end test and the turn change.
#include "dice/DieNames.h"
#include "scoring/ScoringRules.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QMenu>
#include <QPushButton>

void Form1::Yläsarakkeisiin()
{
    const std::size_t p = std::size_t(currentPlayer);
    if (categoryUsed[p][std::size_t(upperFace)] == 1) {
        refuseFilledCategory(upperFace);
        categoryRefused = true;
        return;
    }
    categoryScore = std::int16_t(scoreCategory(upperFace, diceValues));
    lastPlayer = currentPlayer;
    upperSum[p] = std::int16_t(upperSum[p] + categoryScore);
    grandTotal[p] = std::int16_t(grandTotal[p] + categoryScore);
    categoryUsed[p][std::size_t(upperFace)] = 1;
    LblYläYhteensäPelaaja[p]->setCaption(QString::number(upperSum[p]));
    LblKaikkiYhteensäPelaaja[p]->setCaption(QString::number(grandTotal[p]));
    setHeading(headingText, playingColor);
    lastCategory = upperFace;
    record.add({GameRecord::Kind::Record, currentPlayer, diceValues, {}, upperFace});
    Tarkistukset();
    mayRecord = false;
    upperFace = 0;
}

void Form1::Tarkistukset()
{
    const std::size_t p = std::size_t(currentPlayer);
    auto filled = [&](int from, int to) {
        int count = 0;
        for (int code = from; code <= to; ++code)
            count += categoryUsed[p][std::size_t(code)];
        return count;
    };

    if (!bonusDecided[p] && filled(1, 6) == 6)
        Bonus();

    if (currentPlayer == lastPlayerIndex && filled(1, category::count) == category::count) {
        // The sheet must be complete while the places are offered, so the
        // upper row being recorded gets its cell before the end of the game.
        if (upperFace >= 1 && upperFace <= 6)
            categoryCells[std::size_t(upperFace)][p]->setCaption(QString::number(categoryScore));
        PeliLoppui();
        if (programEnded_)
            return;
    }

    for (int d = 0; d < diceCount; ++d)
        showDie(d, QString::fromLatin1(blankDieFileName));
    // A computer's choice is never taken back.
    if (CmdKaikkiUudelleen->text() == QLatin1String("&Kaikki uudelleen") && !computerToPlay())
        MenuPeruutus->menuAction()->setEnabled(true);
    rethrowMarks.fill(0);
    for (DieBox *die : dice) {
        die->setEnabled(false);
        die->setToolTip(QString::fromUtf8(heldDieTip));
    }
    if (!gameOver) {
        CmdSäästäKaikki->setEnabled(false);
        CmdValitutUudelleen->setEnabled(false);
        CmdKaikkiUudelleen->setEnabled(true);
    }
    throwCount = 0;
    computerGaveUp_ = false;  // a computer that could not play its turn plays the next
    if (lastPlayerIndex > 0) {
        LblNimi[std::size_t(currentPlayer)]->setForeColor(headerTextColor());
        ++currentPlayer;
        if (currentPlayer > lastPlayerIndex)
            currentPlayer = 0;
        LblNimi[std::size_t(currentPlayer)]->setForeColor(Qt::red);
    }
    LblHeittokerrat->setCaption(QString::number(throwCount));
    LblVuorossa->setCaption(playerNames[std::size_t(currentPlayer)]);
    mayRecord = false;
}

void Form1::Bonus()
{
    const std::size_t p = std::size_t(currentPlayer);
    if (upperSum[p] >= bonusThreshold) {
        grandTotal[p] = std::int16_t(grandTotal[p] + bonusPoints);
        LblBonusPelaaja[p]->setCaption(QString::number(bonusPoints));
        LblKaikkiYhteensäPelaaja[p]->setCaption(QString::number(grandTotal[p]));
    } else {
        LblBonusPelaaja[p]->setCaption(QStringLiteral("0"));
    }
    bonusDecided[p] = true;
}
