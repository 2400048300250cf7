// Start-up, the start screen and the first turn of a game.
#include "files/RegularFile.h"
#include "game/ComputerPlayer.h"
#include "game/NamesFile.h"
#include "game/PerfectPlayTable.h"
#include "game/Platform.h"
#include "history/GamesFile.h"
#include "strategy/Levels.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

// The first `count` characters, without splitting a character that takes two
// UTF-16 units.
QString firstCharacters(const QString &text, int count)
{
    int end = 0;
    for (int taken = 0; end < text.size() && taken < count; ++taken)
        end += (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

} // namespace

bool Form1::Form_Load()
{
    // The player's folder becomes the current one: the files are opened by
    // their bare names from here on.
    files_ = locateFiles(platform_.programFolder());
    if (files_.problem.isEmpty() && !QDir::setCurrent(files_.playerFolder))
        files_.problem = QStringLiteral("Kansiota %1 ei voi avata.").arg(QDir::toNativeSeparators(files_.playerFolder));
    if (!files_.problem.isEmpty()) {
        platform_.showMessage(files_.problem, Platform::Icon::Critical);
        return false;
    }
    lastPlayerIndex = 0;
    gameOver = false;
    listTop = 1;
    MenuPeruutus->menuAction()->setEnabled(false);
    MenuPeli->menuAction()->setEnabled(false);

    const RegularFileRead namesFile = readRegularFile(QStringLiteral("nimet.txt"), namesFileByteLimit);
    if (!namesFile.ok()) {
        platform_.showMessage(QStringLiteral("Tiedostoa NIMET.TXT ei voi lukea:\r%1\r%2")
                                  .arg(QDir::current().absoluteFilePath(QStringLiteral("nimet.txt")),
                                       namesFile.error),
                              Platform::Icon::Critical);
        return false;
    }
    // The computer's names end every list, weakest first, each once even when
    // the file lists it too.
    QStringList names = readNames(namesFile.bytes, namesFile.cut);
    names.removeIf([](const QString &name) { return strategy::levelNamed(name) != nullptr; });
    for (const strategy::Level &level : strategy::levels())
        names << QString::fromUtf8(level.name);
    for (QComboBox *box : ComboNimi) {
        box->addItems(names);
        box->setCurrentText(QStringLiteral("Nimi"));
    }

    games_ = std::make_unique<GamesFile>(files_.playerFolder);
    return LoadBestList();
}

void Form1::playerCountChosen(int lastIndex)
{
    lastPlayerIndex = std::int16_t(lastIndex);
    for (QComboBox *box : ComboNimi)
        box->setCurrentText(QStringLiteral("Nimi"));
    for (int k = 1; k < maxPlayers; ++k)
        ComboNimi[std::size_t(k)]->setEnabled(k <= lastIndex);
}

void Form1::CmdAloitaPeli_Click()
{
    MenuPeli->menuAction()->setEnabled(true);
    LblAloitusruutu->hide();
    FrameAloitusruutu->hide();
    FrameAloitaLopeta->hide();
    CmdAloitaPeli->hide();
    CmdLopetaPeli->hide();
    LblAlkuTervehdys->hide();

    for (int k = 0; k < maxPlayers; ++k) {
        LblNimi[std::size_t(k)]->setCaption(QLatin1Char(' ') +
                                            firstCharacters(ComboNimi[std::size_t(k)]->currentText(), shownNameLength));
    }
    for (int i = 0; i <= lastPlayerIndex; ++i) {
        LblNimi[std::size_t(i)]->setEnabled(true);
        playerNames[std::size_t(i)] = LblNimi[std::size_t(i)]->caption();
    }
    // A player whose box reads "Kone 1" .. "Kone" is played by the computer.
    std::vector<GameRecord::Player> players;
    for (int k = 0; k < maxPlayers; ++k) {
        const std::size_t i = std::size_t(k);
        computerLevels[i] = k <= lastPlayerIndex ? strategy::levelNamed(ComboNimi[i]->currentText()) : nullptr;
        const QString typed = ComboNimi[i]->currentText();
        if (k <= lastPlayerIndex)
            players.push_back({typed.trimmed(), computerLevels[i] != nullptr, typed});
    }
    computerGaveUp_ = false;
    record.start(std::move(players), QDateTime(platform_.today(), platform_.timeOfDay()));
    if (!replaying())
        games_->beginGame(record);
    computer_->newGame(platform_.timeOfDay());
    // The computer, the hint and the review need the table of perfect play:
    // it is made while the first turn is played.
    perfectPlayTable::prepare();
    // A new game starts with clean turn state: no score may be recorded from
    // the dice of an abandoned game, and only player 1's header is red.
    mayRecord = false;
    MenuPeruutus->menuAction()->setEnabled(false);
    for (EventLabel *header : LblNimi)
        header->setForeColor(headerTextColor());

    CmdKaikkiUudelleen->setText(QStringLiteral("&Aloita peli klik- kaamalla tästä !"));
    CmdKaikkiUudelleen->setToolTip(QStringLiteral("Aloittaa uuden pelin."));
    Pääohjelma();
}

void Form1::Pääohjelma()
{
    CmdKaikkiUudelleen->setEnabled(true);
    throwCount = 0;
    currentPlayer = 0;
    headingText = LblOtsikko->caption();
    LblVuorossa->setCaption(LblNimi[std::size_t(currentPlayer)]->caption());
    LblNimi[0]->setForeColor(Qt::red);
    LblHeittokerrat->setCaption(QString::number(throwCount));
}
