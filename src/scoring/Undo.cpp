// Taking back the latest choice: a keep-all, or a recorded score.
#include "dice/DieNames.h"
#include "scoring/ScoringRules.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QMenu>
#include <QPushButton>

void Form1::MenuEdellisenValinnanPeruutus_Click()
{
    MenuPeruutus->menuAction()->setEnabled(false);

    if (lastCategory == category::keepAll && LblHeittokerrat->caption() != QLatin1String("3")) {
        CmdSäästäKaikki->setEnabled(true);
        CmdKaikkiUudelleen->setEnabled(true);
        setHeading(headingText, savedHeadingColor);
        for (DieBox *die : dice)
            die->setEnabled(true);
        record.add({GameRecord::Kind::Undo, currentPlayer, {}, {}, 0});
        return;
    }

    const int code = lastCategory;
    const std::size_t p = std::size_t(lastPlayer);
    if (code < 1 || code > category::count)
        return;  // nothing recorded to take back

    record.add({GameRecord::Kind::Undo, lastPlayer, {}, {}, 0});
    showDiceOneByOne();

    // The score lives only in its cell: read it back from there.
    EventLabel *cell = categoryCells[std::size_t(code)][p];
    const auto taken = std::int16_t(cell->caption().toInt());
    grandTotal[p] = std::int16_t(grandTotal[p] - taken);
    if (code <= 6) {
        upperSum[p] = std::int16_t(upperSum[p] - taken);
        // A bonus in the cell was written by this very recording, which filled
        // the sixth upper row: it goes with it and is decided anew.
        if (LblBonusPelaaja[p]->caption() == QLatin1String("50"))
            grandTotal[p] = std::int16_t(grandTotal[p] - bonusPoints);
        cell->setCaption(QString());
        LblBonusPelaaja[p]->setCaption(QString());
        bonusDecided[p] = false;
    } else {
        cell->setCaption(QString());
    }
    LblYläYhteensäPelaaja[p]->setCaption(QString::number(upperSum[p]));
    LblKaikkiYhteensäPelaaja[p]->setCaption(QString::number(grandTotal[p]));
    categoryUsed[p][std::size_t(code)] = 0;
    mayRecord = true;
    currentPlayer = lastPlayer;
    CmdKaikkiUudelleen->setEnabled(false);
    LblVuorossa->setCaption(LblNimi[p]->caption());
    LblHeittokerrat->setCaption(QStringLiteral("PERUU"));
    setHeading(QStringLiteral(" Edellinen valinta peruttu.  Mihin sarakkeeseen tulos laitetaan?"), choosingColor);
    for (EventLabel *header : LblNimi)
        header->setForeColor(headerTextColor());
    LblNimi[p]->setForeColor(Qt::red);
}
