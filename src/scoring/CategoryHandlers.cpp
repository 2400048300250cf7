// Choosing a row of the score sheet for the dice.
#include "game/Platform.h"
#include "scoring/ScoringRules.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

namespace {

// One pair, three and four of a kind and Yatzy add nothing to the total when
// they score 0; the other rows always add their score.
bool addsOnlyWhenScoring(int code)
{
    return code == category::onePair || code == category::threeOfAKind || code == category::fourOfAKind ||
           code == category::yatzy;
}

} // namespace

void Form1::refuseFilledCategory(int code)
{
    record.add({GameRecord::Kind::Refusal, currentPlayer, {}, {}, code});
    setHeading(QStringLiteral(" Olet jo laittanut tuloksen tähän sarakkeeseen !   Valitse jokin muu vapaa sarake."),
               choosingColor);
    beep();
}

void Form1::upperCategoryClicked(int face)
{
    if (!mayRecord) {
        beep();
        return;
    }
    upperFace = std::int16_t(face);
    Yläsarakkeisiin();
    if (categoryRefused) {
        // Nothing is pending any more: a leftover face would make the end of
        // the game write a later lower score into this upper row's cell.
        categoryRefused = false;
        upperFace = 0;
        return;
    }
    if (programEnded_)
        return;
    // The turn has passed on already: the cell belongs to the player before.
    int recorded = currentPlayer - 1;
    if (recorded == -1)
        recorded = lastPlayerIndex;
    categoryCells[std::size_t(face)][std::size_t(recorded)]->setCaption(QString::number(categoryScore));
}

void Form1::lowerCategoryClicked(int code)
{
    if (!mayRecord) {
        beep();
        return;
    }
    const std::size_t p = std::size_t(currentPlayer);
    if (categoryUsed[p][std::size_t(code)] == 1) {
        refuseFilledCategory(code);
        return;
    }
    lastCategory = std::int16_t(code);
    lastPlayer = currentPlayer;
    categoryScore = std::int16_t(scoreCategory(code, diceValues));
    if (categoryScore != 0 || !addsOnlyWhenScoring(code))
        grandTotal[p] = std::int16_t(grandTotal[p] + categoryScore);
    categoryCells[std::size_t(code)][p]->setCaption(QString::number(categoryScore));
    LblKaikkiYhteensäPelaaja[p]->setCaption(QString::number(grandTotal[p]));
    categoryUsed[p][std::size_t(code)] = 1;
    record.add({GameRecord::Kind::Record, currentPlayer, diceValues, {}, code});
    setHeading(headingText, playingColor);
    Tarkistukset();
}
