#pragma once

#include "dice/DiceGenerator.h"
#include "game/FileLocations.h"
#include "game/GameState.h"
#include "game/GameView.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class ComputerPlayer;
class GamesFile;
struct StoredGame;
class GameReplay;
class DieBox;
class EventLabel;
class Platform;
class QAction;
class QComboBox;
class QDialog;
class QEventLoop;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The game's one window. It owns every control and the whole game state; the
// handlers are members, defined beside their subsystem (game/, dice/,
// scoring/, toplist/) and bound to the controls in ui/Form1.cpp.
class Form1 : public QMainWindow, public GameState {
public:
    using PlayerCells = std::array<EventLabel *, maxPlayers>;
    using ListColumn = std::array<EventLabel *, 13>;

    explicit Form1(Platform &platform);
    ~Form1() override;

    // Start-up, before the window is shown. False when a file the program
    // needs could not be read; the reason has been shown and the program ends.
    bool Form_Load();

    // ---- Controls ----
    EventLabel *LblOtsikko;

    // Score sheet: rows by category code (0 unused), each with its heading and cells.
    std::array<EventLabel *, 16> categoryHeadings{};
    std::array<PlayerCells, 16> categoryCells{};
    EventLabel *LblPelaajat;
    PlayerCells LblNimi{};
    PlayerCells &LblYkkösetPelaaja = categoryCells[1];
    PlayerCells &LblKakkosetPelaaja = categoryCells[2];
    PlayerCells &LblKolmosetPelaaja = categoryCells[3];
    PlayerCells &LblNelosetPelaaja = categoryCells[4];
    PlayerCells &LblVitosetPelaaja = categoryCells[5];
    PlayerCells &LblKutosetPelaaja = categoryCells[6];
    EventLabel *LblYläYhteensä;
    PlayerCells LblYläYhteensäPelaaja{};
    EventLabel *LblBonus;
    PlayerCells LblBonusPelaaja{};
    PlayerCells &LblYksiPariPelaaja = categoryCells[7];
    PlayerCells &LblKaksiPariaPelaaja = categoryCells[8];
    PlayerCells &LblKolmeSamaaPelaaja = categoryCells[9];
    PlayerCells &LblNeljäSamaaPelaaja = categoryCells[10];
    PlayerCells &LblPieniSuoraPelaaja = categoryCells[11];
    PlayerCells &LblSuuriSuoraPelaaja = categoryCells[12];
    PlayerCells &LblTäyskäsiPelaaja = categoryCells[13];
    PlayerCells &LblSattumaPelaaja = categoryCells[14];
    PlayerCells &LblYatzyPelaaja = categoryCells[15];
    EventLabel *LblKaikkiYhteensä;
    PlayerCells LblKaikkiYhteensäPelaaja{};

    // Dice column
    QGroupBox *FrameArpakuutiot;
    std::array<DieBox *, diceCount> dice{};
    QGroupBox *FrameVuorossa;
    EventLabel *LblVuorossa;
    QGroupBox *FrameHeittokerrat;
    EventLabel *LblHeittokerrat;

    // Button area and the best-99 name entry
    QGroupBox *Frame1;
    QPushButton *CmdValitutUudelleen;
    QPushButton *CmdSäästäKaikki;
    QPushButton *CmdKaikkiUudelleen;
    QGroupBox *Frame99ListaPohja;
    EventLabel *Lbl99Listalle1;
    EventLabel *Lbl99Listalle2;
    EventLabel *Lbl99Listalle3;
    EventLabel *Lbl99Listalle4;
    QLineEdit *Txt99ListaNimi;
    QPushButton *Cmd99ListaOK;

    // Best-99 view
    QGroupBox *Frame99Parasta;
    ListColumn Lbl99Sijoitus{};
    ListColumn Lbl99Nimi{};
    ListColumn Lbl99Pvm{};
    ListColumn Lbl99Tulos{};
    QScrollBar *Scroll99Lista;

    // Start screen
    EventLabel *LblAloitusruutu;
    QGroupBox *FrameAloitusruutu;
    std::array<QRadioButton *, maxPlayers> playerCountOptions{};
    std::array<QComboBox *, maxPlayers> ComboNimi{};
    QGroupBox *FrameAloitaLopeta;
    QPushButton *CmdAloitaPeli;
    QPushButton *CmdLopetaPeli;
    EventLabel *LblAlkuTervehdys;

    // Menus
    QMenu *MenuPeli;
    QAction *MenuUusiksi;
    QAction *MenuVihje;
    QAction *MenuLopetus;
    QMenu *MenuPeruutus;
    QAction *MenuEdellisenValinnanPeruutus;
    QMenu *MenuArvio;
    QAction *MenuPelistä;
    QAction *MenuPelaajista;
    QAction *MenuAiemmatPelit;

    // True once what the first frame does not show is in place too (the
    // window's icon, what a screen reader says of the dice and the cells).
    bool fullyStarted() const { return fullyStarted_; }
    // True once the program has been ended (only a test platform gets here).
    bool programEnded() const { return programEnded_; }
    // A game runs and the player to play is played by the computer: then
    // only the computer's own presses act on the dice, the buttons and the rows.
    bool computerToPlay() const;
    // The game as the computer, the hint and the review read it.
    GameView view() const;
    // The computer found no move it could make: the player to play goes on by
    // hand until the turn passes.
    void computerCannotPlay();
    // Plays a kept game again from the start screen, so that the window
    // stands as the game left it (see GameReplay).
    void replay(const GameRecord &stored);
    // A kept game is being played again: no pauses, no sounds, the dice
    // from the record, and nothing is kept anew.
    bool replaying() const;
    // A window of the game's own is open over it, or being made: the computer waits.
    bool windowOpen() const { return windowsOpen_ > 0; }
    // Results the list file has not taken yet (a save failed).
    bool hasUnsavedResults() const { return bestList.hasUnsavedResults(); }

    // ---- Handlers ----
    // Start-up and setup
    void playerCountChosen(int lastIndex);  // Opt1Pelaaja_Click .. Opt4Pelaajaa_Click
    void Opt1Pelaaja_Click() { playerCountChosen(0); }
    void Opt2Pelaajaa_Click() { playerCountChosen(1); }
    void Opt3Pelaajaa_Click() { playerCountChosen(2); }
    void Opt4Pelaajaa_Click() { playerCountChosen(3); }
    void CmdAloitaPeli_Click();

    // End of game, new game, quitting
    void CmdLopetaPeli_Click();
    void MenuUusiksi_Click();
    void MenuLopetus_Click();
    void MenuVihje_Click();  // what perfect play would do now, in the heading
    void MenuPelistä_Click();  // the review of the game against perfect play
    void MenuPelaajista_Click();  // every player's statistics over the games kept
    void MenuAiemmatPelit_Click();  // the games kept: their reviews, and resuming one

    // Dice
    void dieClicked(int die);  // Arpakuutio0_Click .. Arpakuutio4_Click
    void CmdKaikkiUudelleen_Click();
    void CmdValitutUudelleen_Click();
    void CmdSäästäKaikki_Click();

    // Scoring: one routine for the six upper rows, one frame for the nine lower.
    void upperCategoryClicked(int face);
    void lowerCategoryClicked(int code);
    void categoryClicked(int code);  // a heading or any cell of the row
    void LblYkköset_Click() { upperCategoryClicked(1); }
    void LblKakkoset_Click() { upperCategoryClicked(2); }
    void LblKolmoset_Click() { upperCategoryClicked(3); }
    void LblNeloset_Click() { upperCategoryClicked(4); }
    void LblVitoset_Click() { upperCategoryClicked(5); }
    void LblKutoset_Click() { upperCategoryClicked(6); }
    void LblYksiPari_Click() { lowerCategoryClicked(7); }
    void LblKaksiParia_Click() { lowerCategoryClicked(8); }
    void LblKolmeSamaa_Click() { lowerCategoryClicked(9); }
    void LblNeljäsamaa_Click() { lowerCategoryClicked(10); }
    void LblPieniSuora_Click() { lowerCategoryClicked(11); }
    void LblSuuriSuora_Click() { lowerCategoryClicked(12); }
    void LblTäyskäsi_Click() { lowerCategoryClicked(13); }
    void LblSattuma_Click() { lowerCategoryClicked(14); }
    void LblYatzy_Click() { lowerCategoryClicked(15); }
    void MenuEdellisenValinnanPeruutus_Click();

    // Best-99 list
    void Scroll99Lista_Change();
    void Cmd99ListaOK_Click();
    void Lista99Seuranta();

protected:
    void closeEvent(QCloseEvent *event) override;  // Form_Unload

private:
    // Binds every control to its handler, in one place.
    void bindHandlers();
    // What a click, a key or a screen reader's press on a die, a throw button
    // or a row runs, and what the computer's presses run: the handler, if the
    // control may act and, while the computer is to play, this is its press;
    // then what follows every action (`used`: the control acted on).
    std::function<void()> playerAction(QWidget *used, std::function<void()> handler);
    // The same for `item` of `menu`, which acts only while it and its menu
    // are enabled; `duringComputerTurn`: it acts then too.
    std::function<void()> menuAction(QMenu *menu, QAction *item, std::function<void()> handler,
                                     bool duringComputerTurn);
    // A control acts only while it is shown and enabled, no window of
    // Kopperi is open over the game, and the dice are not landing.
    bool mayAct(const QWidget *control) const;
    // The player-count options show the count chosen.
    void showPlayerCount();
    // `turnChanged`: the action gave the turn to another player or to a new
    // step of a player's turn, so the focus moves with it.
    void afterAction(QWidget *used, bool turnChanged = true);
    // A menu's items are enabled exactly while the menu is, and the hint
    // only while a player, not the computer, is to play.
    void updateMenuItems();
    // Whose turn it is and how far their sheet is: a menu action that leaves
    // it as it was leaves the focus where it was.
    int turnMark() const;
    // A Yes/No question; the computer waits while it is open.
    bool ask(const QString &question);
    void describeScoreCells();
    void completeAfterFirstFrame();
    // Opens `window` over the game, modal; the computer waits until it closes.
    void openOverGame(QDialog *window);

    // The games file (game/KeptGames.cpp): opened after the first frame,
    // when a game left unfinished is offered; every action is kept as it is
    // made; what the file has to tell is told once.
    void openGamesFile();
    void tellAboutGamesFile();
    void keepGame();
    void finishKeptGame();
    // No game is played: a kept game may be resumed.
    bool mayResumeGame() const;
    void resumeKeptGame(const StoredGame &game);

    // Keyboard play (ui/KeyboardPlay.cpp): the Tab order, and the focus after
    // an action (`used`: the control acted on, none for a menu item).
    void setUpKeyboard();
    void settleFocus(QWidget *used, bool turnChanged);
    QWidget *firstFreeRow() const;

    // Private procedures of the game
    void Pääohjelma();
    void Yläsarakkeisiin();
    void Tarkistukset();
    void Bonus();
    void PeliLoppui();
    void lockTheFinishedSheet();
    void OnkoValittu();
    bool LoadBestList();
    void OnkoHuijattu();
    void clearPlaceMarks();
    void describeListView();
    void showHint(const QString &text);
    void takeBackHint();  // the next action gives the heading back
    void showStartScreen();
    void clearScores();
    void refuseFilledCategory(int code);

    // Dice pictures
    void showDie(int die, const QString &pictureName);
    void showDiceOneByOne();
    void lockDiceForScoring();
    void setHeading(const QString &caption, const QColor &background);
    void askForRow();  // the dice are locked: the heading asks for a row
    QColor headerTextColor() const;  // a name header of a player not to play

    // The heading's backgrounds: dark red while a row must be chosen, blue otherwise.
    static inline const QColor choosingColor{192, 0, 0};
    static inline const QColor playingColor{0, 0, 255};

    void endProgramAtOnce();
    // A beep, unless a kept game is being played again.
    void beep();
    // The face die `die` lands on when thrown.
    int nextDie(int die);

    Platform &platform_;
    FileLocations files_;  // decided by Form_Load
    DiceGenerator generator_;
    QEventLoop *entryWait_ = nullptr;
    std::unique_ptr<ComputerPlayer> computer_;
    GameReplay *replay_ = nullptr;
    std::unique_ptr<GamesFile> games_;  // made by Form_Load
    bool gamesInFile_ = false;  // the games file holds a game
    bool computerGaveUp_ = false;  // for the rest of this turn
    bool hintShown_ = false;
    bool hintAsked_ = false;  // the hint waits for the table of perfect play
    bool reviewAsked_ = false;  // the review waits for the table of perfect play
    int windowsOpen_ = 0;
    QString headingBeforeHint_;
    bool programEnded_ = false;
    bool fullyStarted_ = false;
    bool diceLanding_ = false;
};
