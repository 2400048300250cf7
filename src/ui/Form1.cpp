#include "ui/Form1.h"

#include "dice/DieNames.h"
#include "game/ComputerPlayer.h"
#include "game/GameReplay.h"
#include "game/PerfectPlay.h"
#include "game/Platform.h"
#include "history/GamesFile.h"
#include "ui/AccessKeyFilter.h"
#include "ui/Accessibility.h"
#include "ui/EventLabel.h"
#include "ui/Finnish.h"
#include "ui/Layout.h"
#include "ui/NameValidator.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

namespace {

constexpr int clientWidth = 662;
constexpr int clientHeight = 482;

// Category codes with the names of their rows' controls.
struct CategoryRow {
    int code;
    const char *heading;
    const char *cells;
};
const CategoryRow categoryRows[] = {
    {1, "LblYkköset", "LblYkkösetPelaaja"},       {2, "LblKakkoset", "LblKakkosetPelaaja"},
    {3, "LblKolmoset", "LblKolmosetPelaaja"},     {4, "LblNeloset", "LblNelosetPelaaja"},
    {5, "LblVitoset", "LblVitosetPelaaja"},       {6, "LblKutoset", "LblKutosetPelaaja"},
    {7, "LblYksiPari", "LblYksiPariPelaaja"},     {8, "LblKaksiParia", "LblKaksiPariaPelaaja"},
    {9, "LblKolmeSamaa", "LblKolmeSamaaPelaaja"}, {10, "LblNeljäsamaa", "LblNeljäSamaaPelaaja"},
    {11, "LblPieniSuora", "LblPieniSuoraPelaaja"}, {12, "LblSuuriSuora", "LblSuuriSuoraPelaaja"},
    {13, "LblTäyskäsi", "LblTäyskäsiPelaaja"},    {14, "LblSattuma", "LblSattumaPelaaja"},
    {15, "LblYatzy", "LblYatzyPelaaja"},
};

// Runs `work` from the event loop a moment after `widget` is first painted,
// so that it does not hold up the first frame: the display still has to put
// the painted frame on the screen (a compositor at its next refresh), and
// work started at once would take the processor from it.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget *widget, std::function<void()> work) : QObject(widget), work_(std::move(work))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(frameShownMs, watched, std::move(work_));
            deleteLater();
        }
        return false;
    }

private:
    // Three refreshes of a 60 Hz screen after the paint began.
    static constexpr int frameShownMs = 50;
    std::function<void()> work_;
};

// What of a player's sheet matters for the rest of the game.
strategy::Sheet sheetOf(const GameState &state, int player)
{
    strategy::Sheet sheet;
    for (int code = 1; code <= category::count; ++code) {
        if (state.categoryUsed[std::size_t(player)][std::size_t(code)] == 1)
            sheet.filled = std::uint16_t(sheet.filled | 1u << (code - 1));
    }
    sheet.upperSum = state.upperSum[std::size_t(player)];
    return sheet;
}

template <typename T>
T *take(const QHash<QString, QWidget *> &controls, const QString &name)
{
    auto *widget = dynamic_cast<T *>(controls.value(name));
    Q_ASSERT_X(widget, "Form1", qPrintable(name));
    return widget;
}

template <typename T, std::size_t N>
void takeArray(const QHash<QString, QWidget *> &controls, const char *name, std::array<T *, N> &array)
{
    for (std::size_t i = 0; i < N; ++i)
        array[i] = take<T>(controls, QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i));
}

} // namespace

Form1::Form1(Platform &platform) : platform_(platform)
{
    setWindowTitle(QStringLiteral("Kopperi"));
    setFont(layout::windowFont());
    // Before the controls are built, so the system colours they take are the
    // light ones; menus and message boxes are windows of their own and keep
    // the desktop's colours.
    setPalette(layout::windowPalette());
    installAccessibleControls();

    auto *client = new QWidget(this);
    client->setFixedSize(clientWidth, clientHeight);
    setCentralWidget(client);

    const QHash<QString, QWidget *> c = layout::build(client);
    auto label = [&](const char *name) { return take<EventLabel>(c, QString::fromUtf8(name)); };
    auto frame = [&](const char *name) { return take<QGroupBox>(c, QString::fromUtf8(name)); };
    auto button = [&](const char *name) { return take<QPushButton>(c, QString::fromUtf8(name)); };

    LblOtsikko = label("LblOtsikko");
    LblPelaajat = label("LblPelaajat");
    takeArray(c, "LblNimi", LblNimi);
    for (const CategoryRow &row : categoryRows) {
        categoryHeadings[std::size_t(row.code)] = label(row.heading);
        takeArray(c, row.cells, categoryCells[std::size_t(row.code)]);
    }
    LblYläYhteensä = label("LblYläYhteensä");
    takeArray(c, "LblYläYhteensäPelaaja", LblYläYhteensäPelaaja);
    LblBonus = label("LblBonus");
    takeArray(c, "LblBonusPelaaja", LblBonusPelaaja);
    LblKaikkiYhteensä = label("LblKaikkiYhteensä");
    takeArray(c, "LblKaikkiYhteensäPelaaja", LblKaikkiYhteensäPelaaja);

    FrameArpakuutiot = frame("FrameArpakuutiot");
    for (int d = 0; d < diceCount; ++d)
        dice[std::size_t(d)] = take<DieBox>(c, QStringLiteral("Arpakuutio%1").arg(d));
    FrameVuorossa = frame("FrameVuorossa");
    LblVuorossa = label("LblVuorossa");
    FrameHeittokerrat = frame("FrameHeittokerrat");
    LblHeittokerrat = label("LblHeittokerrat");

    Frame1 = frame("Frame1");
    CmdValitutUudelleen = button("CmdValitutUudelleen");
    CmdSäästäKaikki = button("CmdSäästäKaikki");
    CmdKaikkiUudelleen = button("CmdKaikkiUudelleen");
    Frame99ListaPohja = frame("Frame99ListaPohja");
    Lbl99Listalle1 = label("Lbl99Listalle1");
    Lbl99Listalle2 = label("Lbl99Listalle2");
    Lbl99Listalle3 = label("Lbl99Listalle3");
    Lbl99Listalle4 = label("Lbl99Listalle4");
    Txt99ListaNimi = take<QLineEdit>(c, QStringLiteral("Txt99ListaNimi"));
    Cmd99ListaOK = button("Cmd99ListaOK");

    Frame99Parasta = frame("Frame99Parasta");
    takeArray(c, "Lbl99Sijoitus", Lbl99Sijoitus);
    takeArray(c, "Lbl99Nimi", Lbl99Nimi);
    takeArray(c, "Lbl99Pvm", Lbl99Pvm);
    takeArray(c, "Lbl99Tulos", Lbl99Tulos);
    Scroll99Lista = take<QScrollBar>(c, QStringLiteral("Scroll99Lista"));

    LblAloitusruutu = label("LblAloitusruutu");
    FrameAloitusruutu = frame("FrameAloitusruutu");
    const char *optionNames[maxPlayers] = {"Opt1Pelaaja", "Opt2Pelaajaa", "Opt3Pelaajaa", "Opt4Pelaajaa"};
    for (int k = 0; k < maxPlayers; ++k) {
        playerCountOptions[std::size_t(k)] = take<QRadioButton>(c, QString::fromUtf8(optionNames[k]));
        ComboNimi[std::size_t(k)] = take<QComboBox>(c, QStringLiteral("ComboNimi%1").arg(k));
    }
    playerCountOptions[0]->setChecked(true);
    FrameAloitaLopeta = frame("FrameAloitaLopeta");
    CmdAloitaPeli = button("CmdAloitaPeli");
    CmdLopetaPeli = button("CmdLopetaPeli");
    LblAlkuTervehdys = label("LblAlkuTervehdys");

    // The dice show their start pictures until the first throw; the first and
    // the last share one.
    const char *startPictures[diceCount] = {"start0.bmp", "start1.bmp", "start2.bmp", "start3.bmp", "start0.bmp"};
    for (int d = 0; d < diceCount; ++d) {
        const QString name = QString::fromLatin1(startPictures[d]);
        dice[std::size_t(d)]->showPicture(name, builtInDiePicture(name));
    }

    Scroll99Lista->setRange(1, 87);
    Scroll99Lista->setSingleStep(1);
    Scroll99Lista->setPageStep(13);
    Scroll99Lista->setTracking(false);  // the view follows finished moves only
    Scroll99Lista->setAccessibleName(Frame99Parasta->title().trimmed());

    Txt99ListaNimi->setMaxLength(10);
    Txt99ListaNimi->setValidator(new NameValidator(Txt99ListaNimi));
    dropAccessKeyLetters(Txt99ListaNimi);

    menuBar()->setFont(QApplication::font());  // menus keep the desktop's own font
    MenuPeli = menuBar()->addMenu(QStringLiteral("&Peli..."));
    MenuUusiksi = MenuPeli->addAction(QStringLiteral("...&uusiksi"));
    MenuVihje = MenuPeli->addAction(QStringLiteral("...&vihje"));
    MenuPeli->addSeparator();
    MenuLopetus = MenuPeli->addAction(QStringLiteral("...&lopetus"));
    MenuPeruutus = menuBar()->addMenu(QStringLiteral("P&eruutus"));
    MenuEdellisenValinnanPeruutus = MenuPeruutus->addAction(QStringLiteral("E&dellisen valinnan peruutus"));
    MenuArvio = menuBar()->addMenu(QStringLiteral("&Arvio..."));
    MenuPelistä = MenuArvio->addAction(QStringLiteral("...&pelistä"));
    MenuPelaajista = MenuArvio->addAction(QStringLiteral("...pelaa&jista"));
    MenuAiemmatPelit = MenuArvio->addAction(QStringLiteral("...&aiemmista peleistä"));
    MenuArvio->menuAction()->setEnabled(false);  // nothing to review before a game

    computer_ = std::make_unique<ComputerPlayer>(*this, platform_);
    bindHandlers();
    setUpKeyboard();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    new FirstPaintWatch(client, [this] { completeAfterFirstFrame(); });
}

void Form1::completeAfterFirstFrame()
{
    // What the first frame does not show waits until it is on the screen.
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    speakFinnish();
    for (int d = 0; d < diceCount; ++d)
        dice[std::size_t(d)]->setAccessibleName(dieDescription(d, dice[std::size_t(d)]->pictureName()));
    describeScoreCells();
    describeListView();
    openGamesFile();
    fullyStarted_ = true;
}

Form1::~Form1()
{
    // The controls go first, while the game state their handlers use still exists.
    delete takeCentralWidget();
}

void Form1::describeScoreCells()
{
    // A screen reader names a cell by its row and player; the caption stays
    // the cell's name, so its score is read out as it changes.
    auto describe = [](const QString &row, const PlayerCells &cells) {
        for (int p = 0; p < maxPlayers; ++p)
            cells[std::size_t(p)]->setAccessibleDescription(QStringLiteral("%1, pelaaja %2").arg(row).arg(p + 1));
    };
    for (int code = 1; code <= 15; ++code)
        describe(categoryHeadings[std::size_t(code)]->caption().trimmed(), categoryCells[std::size_t(code)]);
    describe(QStringLiteral("Yläsarakkeet yhteensä"), LblYläYhteensäPelaaja);
    describe(QStringLiteral("Bonus"), LblBonusPelaaja);
    describe(QStringLiteral("Kaikki yhteensä"), LblKaikkiYhteensäPelaaja);
}

void Form1::bindHandlers()
{
    // Every way into a control (a click, a key, an access key, a screen
    // reader's press or toggle, a signal) ends in one of these bindings, and
    // each acts only while its control may: see mayAct().

    // The start screen. Only choosing another option resets the names; a
    // click on the chosen one changes nothing. A screen reader's toggle
    // checks an option without a click, and the player count follows it; an
    // option toggled while it may not act goes back as it was.
    for (int k = 0; k < maxPlayers; ++k)
        connect(playerCountOptions[std::size_t(k)], &QRadioButton::toggled, this, [this, k](bool chosen) {
            if (!mayAct(playerCountOptions[std::size_t(k)])) {
                showPlayerCount();
                return;
            }
            if (chosen)
                playerCountChosen(k);
        });
    const auto bindPress = [this](QPushButton *button, std::function<void()> handler) {
        connect(button, &QPushButton::clicked, this, [this, button, handler = std::move(handler)] {
            if (!mayAct(button))
                return;
            handler();
            afterAction(button);
        });
    };
    bindPress(CmdAloitaPeli, [this] { CmdAloitaPeli_Click(); });
    bindPress(CmdLopetaPeli, [this] { CmdLopetaPeli_Click(); });

    // The turn: the dice, the throw buttons and the rows. A click on a row's
    // heading or on any of its cells chooses the row for the player to play;
    // every change of a category or bonus cell moves the best-99 marker.
    for (int d = 0; d < diceCount; ++d)
        dice[std::size_t(d)]->onClick = playerAction(dice[std::size_t(d)], [this, d] { dieClicked(d); });
    const auto bindButton = [this](QPushButton *button, std::function<void()> handler) {
        connect(button, &QPushButton::clicked, this, playerAction(button, std::move(handler)));
    };
    bindButton(CmdKaikkiUudelleen, [this] { CmdKaikkiUudelleen_Click(); });
    bindButton(CmdValitutUudelleen, [this] { CmdValitutUudelleen_Click(); });
    bindButton(CmdSäästäKaikki, [this] { CmdSäästäKaikki_Click(); });
    for (int code = 1; code <= 15; ++code) {
        EventLabel *heading = categoryHeadings[std::size_t(code)];
        heading->onClick = playerAction(heading, [this, code] { categoryClicked(code); });
        for (EventLabel *cell : categoryCells[std::size_t(code)]) {
            cell->onClick = heading->onClick;
            cell->onChange = [this] { Lista99Seuranta(); };
        }
    }
    for (EventLabel *cell : LblBonusPelaaja)
        cell->onChange = [this] { Lista99Seuranta(); };

    // The menus. A new game and quitting stop the computer's turn too; the
    // review is read during it, while the computer waits.
    const auto bindItem = [this](QMenu *menu, QAction *item, std::function<void()> handler, bool duringComputerTurn) {
        connect(item, &QAction::triggered, this, menuAction(menu, item, std::move(handler), duringComputerTurn));
    };
    bindItem(MenuPeli, MenuUusiksi, [this] { MenuUusiksi_Click(); }, true);
    bindItem(MenuPeli, MenuVihje, [this] { MenuVihje_Click(); }, false);
    bindItem(MenuPeli, MenuLopetus, [this] { MenuLopetus_Click(); }, true);
    bindItem(MenuPeruutus, MenuEdellisenValinnanPeruutus, [this] { MenuEdellisenValinnanPeruutus_Click(); }, false);
    bindItem(MenuArvio, MenuPelistä, [this] { MenuPelistä_Click(); }, true);
    bindItem(MenuArvio, MenuPelaajista, [this] { MenuPelaajista_Click(); }, true);
    bindItem(MenuArvio, MenuAiemmatPelit, [this] { MenuAiemmatPelit_Click(); }, true);
    // A greyed menu's items would still act for a screen reader's press and
    // anything else that triggers them: they follow their menu.
    for (QMenu *menu : {MenuPeli, MenuPeruutus, MenuArvio})
        connect(menu->menuAction(), &QAction::enabledChanged, this, [this] { updateMenuItems(); });
    updateMenuItems();

    // The best-99 view and its name entry. The view follows its scroll bar
    // unless a window is open over the game: then the bar goes back.
    connect(Scroll99Lista, &QScrollBar::valueChanged, this, [this] {
        if (QApplication::activeModalWidget()) {
            const QSignalBlocker still(Scroll99Lista);
            Scroll99Lista->setValue(listTop);
            return;
        }
        Scroll99Lista_Change();
    });
    bindPress(Cmd99ListaOK, [this] { Cmd99ListaOK_Click(); });
    connect(Txt99ListaNimi, &QLineEdit::textChanged, this,
            [this](const QString &text) { Cmd99ListaOK->setEnabled(!text.trimmed().isEmpty()); });
    connect(Txt99ListaNimi, &QLineEdit::returnPressed, this, [this] {
        if (Cmd99ListaOK->isEnabled())
            Cmd99ListaOK->click();
    });
}

bool Form1::mayAct(const QWidget *control) const
{
    // A hidden or disabled control is out of play whatever reaches it (an
    // access key's or a screen reader's click comes 100 ms after the press,
    // whatever happened meanwhile), and so is the whole window while a window
    // of Kopperi is open over it. Input made while the dice land waits in the
    // queue and would act on the landed dice.
    return !programEnded_ && !diceLanding_ && control->isVisible() && control->isEnabled() &&
           !QApplication::activeModalWidget();
}

void Form1::showPlayerCount()
{
    std::array<QSignalBlocker, maxPlayers> still{QSignalBlocker(playerCountOptions[0]), QSignalBlocker(playerCountOptions[1]),
                                                 QSignalBlocker(playerCountOptions[2]), QSignalBlocker(playerCountOptions[3])};
    playerCountOptions[std::size_t(lastPlayerIndex)]->setChecked(true);
}

std::function<void()> Form1::playerAction(QWidget *used, std::function<void()> handler)
{
    return [this, used, handler = std::move(handler)] {
        // During the computer's turn only its own presses act.
        if (!mayAct(used) || (computerToPlay() && !computer_->pressing() && !replaying()))
            return;
        takeBackHint();
        handler();
        afterAction(used);
    };
}

std::function<void()> Form1::menuAction(QMenu *menu, QAction *item, std::function<void()> handler,
                                        bool duringComputerTurn)
{
    return [this, menu, item, duringComputerTurn, handler = std::move(handler)] {
        if (programEnded_ || diceLanding_ || !menu->menuAction()->isEnabled() || !item->isEnabled() ||
            QApplication::activeModalWidget() || (computerToPlay() && !duringComputerTurn))
            return;
        const int before = turnMark();
        takeBackHint();
        handler();
        afterAction(nullptr, turnMark() != before);
    };
}

void Form1::afterAction(QWidget *used, bool turnChanged)
{
    if (programEnded_)
        return;
    settleFocus(used, turnChanged);
    // Nothing of the computer's turn can be taken back.
    if (computerToPlay())
        MenuPeruutus->menuAction()->setEnabled(false);
    keepGame();
    updateMenuItems();
    if (!replaying())
        computer_->lookAtTheGame();
}

void Form1::updateMenuItems()
{
    const bool gameMenu = MenuPeli->menuAction()->isEnabled();
    MenuUusiksi->setEnabled(gameMenu);
    MenuLopetus->setEnabled(gameMenu);
    MenuVihje->setEnabled(gameMenu && !computerToPlay());  // the computer's turn has no hint
    MenuEdellisenValinnanPeruutus->setEnabled(MenuPeruutus->menuAction()->isEnabled());
    // "Arvio..." is on whenever one of its items is: a game can be reviewed
    // from its first choice until the next one starts, and the players and
    // earlier games once the file holds a game.
    MenuPelistä->setEnabled(record.hasChoices());
    MenuPelaajista->setEnabled(gamesInFile_);
    MenuAiemmatPelit->setEnabled(gamesInFile_);
    MenuArvio->menuAction()->setEnabled(MenuPelistä->isEnabled() || gamesInFile_);
}

int Form1::turnMark() const
{
    int filled = 0;
    for (int code = 1; code <= category::count; ++code)
        filled += categoryUsed[std::size_t(currentPlayer)][std::size_t(code)];
    return (MenuPeli->menuAction()->isEnabled() ? 1000 : 0) + currentPlayer * 100 + filled;
}

bool Form1::computerToPlay() const
{
    // The game menu is enabled exactly while a game runs.
    return MenuPeli->menuAction()->isEnabled() && computerLevels[std::size_t(currentPlayer)] && !computerGaveUp_;
}

GameView Form1::view() const
{
    GameView game;
    game.running = MenuPeli->menuAction()->isEnabled();
    game.currentPlayer = currentPlayer;
    for (int p = 0; p < maxPlayers; ++p) {
        const std::size_t i = std::size_t(p);
        game.sheets[i] = sheetOf(*this, p);
        // The bonus is in the total once it is decided and earned.
        game.points[i] = grandTotal[i] - (bonusDecided[i] && upperSum[i] >= bonusThreshold ? bonusPoints : 0);
    }
    game.throwsMade = throwCount;
    game.dice = diceValues;
    for (std::size_t d = 0; d < rethrowMarks.size(); ++d)
        game.marked[d] = rethrowMarks[d] == 1;
    game.mayRecord = mayRecord;
    const bool throwButton = CmdKaikkiUudelleen->isEnabled() && CmdKaikkiUudelleen->text() != QLatin1String("&Uusi peli");
    game.mayThrow = game.running && (throwButton || CmdValitutUudelleen->isEnabled());
    game.computers = computerLevels;
    game.record = &record;
    return game;
}

void Form1::computerCannotPlay()
{
    computerGaveUp_ = true;
    platform_.showMessage(QStringLiteral("Kone ei löydä siirtoa tähän tilanteeseen.\rPelaa tämä vuoro loppuun itse."),
                          Platform::Icon::Information);
    afterAction(nullptr);
}

bool Form1::ask(const QString &question)
{
    computer_->hold();
    return platform_.askYesNo(question);
}

void Form1::categoryClicked(int code)
{
    if (code <= 6)
        upperCategoryClicked(code);
    else
        lowerCategoryClicked(code);
}

void Form1::setHeading(const QString &caption, const QColor &background)
{
    LblOtsikko->setCaption(caption);
    LblOtsikko->setBackColor(background);
}

void Form1::askForRow()
{
    setHeading(QStringLiteral(" Mihin sarakkeeseen tulos laitetaan?"), choosingColor);
}

QColor Form1::headerTextColor() const
{
    return palette().color(QPalette::ButtonText);
}

void Form1::showDie(int die, const QString &pictureName)
{
    DieBox *box = dice[std::size_t(die)];
    box->showPicture(pictureName, diePicture(pictureName, files_.pictureFolders()));
    box->setAccessibleName(dieDescription(die, pictureName));
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Form_Unload: closing always asks; No keeps the window and the game.
    event->ignore();
    if (ask(QStringLiteral("Haluatko lopettaa pelaamisen?")))
        endProgramAtOnce();
    else
        computer_->lookAtTheGame();
}

void Form1::replay(const GameRecord &stored)
{
    GameReplay replay(*this, stored);
    replay_ = &replay;
    replay.run();
    replay_ = nullptr;
    afterAction(nullptr);
}

bool Form1::replaying() const
{
    return replay_ && replay_->playing();
}

void Form1::beep()
{
    if (!replaying())
        platform_.beep();
}

int Form1::nextDie(int die)
{
    return replaying() ? replay_->landedDie(die) : generator_.nextDieValue();
}

void Form1::endProgramAtOnce()
{
    computer_->hold();
    bestList.storeBeforeEnd([this](const QString &question) { return ask(question); });
    platform_.endProgram(0);
    // Only a test platform returns: leave the window inert, release a pending
    // name entry without storing it.
    programEnded_ = true;
    if (entryWait_)
        entryWait_->quit();
    hide();
}
