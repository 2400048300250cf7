// Every game kept in the games file as it is played, a game left unfinished
// resumed, and the windows of earlier games and of the players' statistics.
#include "game/ComputerPlayer.h"
#include "game/PerfectPlayTable.h"
#include "game/Platform.h"
#include "game/Review.h"
#include "history/GamesFile.h"
#include "history/HistoryLines.h"
#include "ui/EarlierGamesWindow.h"
#include "ui/Form1.h"
#include "ui/ReviewWindow.h"
#include "ui/StatisticsWindow.h"

#include <QMenu>
#include <QPushButton>

void Form1::openGamesFile()
{
    games_->open();
    tellAboutGamesFile();
    gamesInFile_ = games_->holdsGames();
    updateMenuItems();
    // A game left unfinished (the window was closed, the program killed, the
    // power cut) is offered once; one that another window plays is not.
    if (const std::optional<StoredGame> offered = games_->gameToOffer()) {
        if (ask(QStringLiteral("Edellinen peli jäi kesken. Jatketaanko sitä?")))
            resumeKeptGame(*offered);
        else
            games_->declineGame(offered->id);
        afterAction(nullptr);
    }
}

void Form1::tellAboutGamesFile()
{
    const QString news = games_->takeMessage();
    if (!news.isEmpty())
        platform_.showMessage(news, Platform::Icon::Information);
}

void Form1::keepGame()
{
    games_->keep(record);
    tellAboutGamesFile();
    gamesInFile_ = games_->keeping() && (gamesInFile_ || !record.entries.empty());
}

void Form1::finishKeptGame()
{
    // The review's figures go with the result; the table is there long
    // before a game ends, and a game ended before it keeps its result only.
    std::vector<ReviewFigures> figures;
    if (const strategy::Table *table = perfectPlayTable::ifReady()) {
        for (const PlayerReview &player : reviewGame(record, *table).players)
            figures.push_back({player.costs, player.luck});
    }
    games_->finishGame(record, figures);
    tellAboutGamesFile();
}

bool Form1::mayResumeGame() const
{
    // No game is played: the start screen, or a finished game's sheet.
    return !programEnded_ && (CmdAloitaPeli->isVisible() || gameOver);
}

void Form1::resumeKeptGame(const StoredGame &game)
{
    if (!mayResumeGame())
        return;
    if (!games_->resumeGame(game.id)) {
        platform_.showMessage(QStringLiteral("Peliä ei voi jatkaa: toinen Kopperi pelaa sitä."),
                              Platform::Icon::Information);
        return;
    }
    if (gameOver)
        CmdKaikkiUudelleen->click();  // "&Uusi peli": back to the start screen
    replay(game.record);
}

void Form1::MenuPelaajista_Click()
{
    auto *window = new StatisticsWindow(
        games_->statistics(), [this](const QString &name) { return games_->finishedGames(name); }, this);
    openOverGame(window);
}

void Form1::MenuAiemmatPelit_Click()
{
    auto *window = new EarlierGamesWindow(games_->earlierGames(), this);
    window->mayResume = [this] { return mayResumeGame(); };
    window->review = [this, window](qint64 id) {
        const std::optional<StoredGame> game = games_->readGame(id);
        if (!game || !game->record.hasChoices())
            return;
        const GameRecord played = game->record;
        perfectPlayTable::whenReady(
            window,
            [window, played](const strategy::Table &table) {
                (new ReviewWindow(reviewGame(played, table), window, &table))->open();
            },
            played.players.size() > 1 ? perfectPlayTable::Need::Spread : perfectPlayTable::Need::Values);
    };
    window->resume = [this, window](qint64 id) {
        const std::optional<StoredGame> game = games_->readGame(id);
        window->accept();
        if (game)
            resumeKeptGame(*game);
        afterAction(nullptr);
    };
    openOverGame(window);
}
