// The end of a game, a new game and quitting.
#include "dice/DieNames.h"
#include "game/GameReplay.h"
#include "game/Platform.h"
#include "history/GamesFile.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

void Form1::PeliLoppui()
{
    lockTheFinishedSheet();
    keepGame();  // the sheet is full before any name is asked

    // Places are offered in player order, each compared with the list as the
    // players before have already changed it.
    for (int p = 0; p <= lastPlayerIndex; ++p) {
        lastPlayer = std::int16_t(p);
        if (computerLevels[std::size_t(p)])
            continue;  // only the players' results enter the list
        if (replaying() && replay_->takeStoredEntry(p))
            continue;  // stored before the game was left: never offered twice
        // The place offered is the place the result takes: another window
        // may have stored results since this one last read the list.
        if (bestList.followFile())
            Scroll99Lista_Change();
        const int place = earnedPlace(best, grandTotal[std::size_t(p)]);
        if (place < 0)
            continue;
        Lista99Seuranta();
        Frame99ListaPohja->show();
        Cmd99ListaOK->show();
        Txt99ListaNimi->show();
        Txt99ListaNimi->setText(storableName(LblNimi[std::size_t(p)]->caption()));
        Lbl99Listalle1->show();
        Lbl99Listalle2->show();
        Lbl99Listalle3->show();
        Lbl99Listalle4->show();
        Lbl99Listalle2->setCaption(QStringLiteral("laaja numero: %1").arg(p + 1));
        Lbl99Listalle4->setCaption(QStringLiteral("sijalle numero: %1").arg(place + 1));
        listPlace = std::int16_t(place + 1);
        if (replaying())
            replay_->stop();  // the name is the player's to type now
        Txt99ListaNimi->setFocus();
        Txt99ListaNimi->selectAll();

        // The window goes on handling its events (the name box, OK, the list's
        // scroll bar, the close box) until OK stores the entry.
        QEventLoop wait;
        entryWait_ = &wait;
        while (!listEntryDone && !programEnded_)
            wait.exec();
        entryWait_ = nullptr;
        if (programEnded_)
            return;
        listEntryDone = false;
    }
    // lastPlayer stays the last player offered a place: a valid index for the
    // captions that change after the game.

    Frame99ListaPohja->hide();
    Cmd99ListaOK->hide();
    Txt99ListaNimi->hide();
    Lbl99Listalle1->hide();
    Lbl99Listalle2->hide();
    Lbl99Listalle3->hide();
    Lbl99Listalle4->hide();
    setHeading(QStringLiteral(" Peli loppui !    Valitse haluatko aloittaa uuden pelin vaiko lopettaa?"),
               playingColor);
    CmdKaikkiUudelleen->setText(QStringLiteral("&Uusi peli"));
    CmdSäästäKaikki->setText(QStringLiteral("&Lopetus"));
    CmdKaikkiUudelleen->setEnabled(true);
    CmdSäästäKaikki->setEnabled(true);
    CmdKaikkiUudelleen->setToolTip(QStringLiteral("Aloittaa uuden pelin."));
    CmdSäästäKaikki->setToolTip(QStringLiteral("Lopettaa pelin."));
    gameOver = true;
    beep();
    keepGame();
    finishKeptGame();
    clearScores();
}

void Form1::lockTheFinishedSheet()
{
    // Only the name entry may act while a name is typed, and only the two end
    // buttons after it: a keep-all taken back just before the last row leaves
    // the dice and the throw buttons live behind the entry panel, where their
    // access keys would still throw, keep or undo on the finished sheet.
    for (DieBox *die : dice)
        die->setEnabled(false);
    CmdKaikkiUudelleen->setEnabled(false);
    CmdValitutUudelleen->setEnabled(false);
    CmdSäästäKaikki->setEnabled(false);
    mayRecord = false;
    MenuPeli->menuAction()->setEnabled(false);
    MenuPeruutus->menuAction()->setEnabled(false);
}

void Form1::clearScores()
{
    // The sheet's captions stay: the finished sheet remains on screen.
    for (int p = 0; p <= lastPlayerIndex; ++p) {
        upperSum[std::size_t(p)] = 0;
        grandTotal[std::size_t(p)] = 0;
        bonusDecided[std::size_t(p)] = false;
        categoryUsed[std::size_t(p)].fill(0);
    }
}

void Form1::MenuUusiksi_Click()
{
    if (!ask(QStringLiteral("Haluatko aloittaa uuden pelin?")))
        return;
    games_->giveUp();  // kept unfinished, and not offered again
    clearScores();
    showStartScreen();
}

void Form1::showStartScreen()
{
    LblAloitusruutu->show();
    FrameAloitusruutu->show();
    FrameAloitaLopeta->show();
    CmdAloitaPeli->show();
    CmdLopetaPeli->show();
    LblAlkuTervehdys->show();
    CmdKaikkiUudelleen->setText(QStringLiteral("&Kaikki uudelleen"));
    CmdSäästäKaikki->setText(QStringLiteral("&Säästä kaikki"));
    CmdKaikkiUudelleen->setEnabled(false);
    CmdSäästäKaikki->setEnabled(false);
    CmdValitutUudelleen->setEnabled(false);
    setHeading(headingText, playingColor);  // a row may have been asked for on dark red
    LblHeittokerrat->setCaption(QStringLiteral("0"));
    LblVuorossa->setCaption(QString());
    gameOver = false;
    for (int d = 0; d < diceCount; ++d)
        showDie(d, QString::fromLatin1(blankDieFileName));
    for (DieBox *die : dice)
        die->setEnabled(false);

    // Nothing of the abandoned game may be thrown, recorded or taken back in
    // the next: no die stays marked, no score can be recorded.
    rethrowMarks.fill(0);
    mayRecord = false;
    MenuPeruutus->menuAction()->setEnabled(false);

    for (int p = 0; p <= lastPlayerIndex; ++p) {
        const std::size_t i = std::size_t(p);
        LblNimi[i]->setEnabled(false);
        LblNimi[i]->setCaption(QStringLiteral(" Nimi"));
        LblNimi[i]->setForeColor(headerTextColor());
        for (int code = 1; code <= 6; ++code)
            categoryCells[std::size_t(code)][i]->setCaption(QString());
        LblYläYhteensäPelaaja[i]->setCaption(QString());
        LblBonusPelaaja[i]->setCaption(QString());
        for (int code = 7; code <= 15; ++code)
            categoryCells[std::size_t(code)][i]->setCaption(QString());
        LblKaikkiYhteensäPelaaja[i]->setCaption(QString());
    }
    MenuPeli->menuAction()->setEnabled(false);
}

void Form1::CmdLopetaPeli_Click()
{
    endProgramAtOnce();
}

void Form1::MenuLopetus_Click()
{
    if (ask(QStringLiteral("Haluatko lopettaa pelaamisen?")))
        endProgramAtOnce();
}
