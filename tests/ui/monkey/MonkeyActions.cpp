// The monkey's actions: what a player can do in each state of the window,
// weighted so that games are played to their end.
#include "MonkeyPlayer.h"

#include "scoring/ScoringRules.h"

#include <QGroupBox>
#include <QScrollBar>
#include <algorithm>

namespace {

bool usable(const QWidget *widget)
{
    return widget->isVisible() && widget->isEnabled();
}

bool available(const QMenu *menu, const QAction *item)
{
    return menu->menuAction()->isEnabled() && item->isEnabled();
}

// Picks one of the weighted actions.
class Menu {
public:
    void add(int weight, std::function<void()> action)
    {
        if (weight > 0)
            items_.emplace_back(weight, std::move(action));
    }
    void run(MonkeyRandom &random)
    {
        int total = 0;
        for (const auto &item : items_)
            total += item.first;
        int pick = random.below(total);
        for (const auto &item : items_) {
            if (pick < item.first) {
                item.second();
                return;
            }
            pick -= item.first;
        }
    }

private:
    std::vector<std::pair<int, std::function<void()>>> items_;
};

QString quoted(const QString &text)
{
    QString shown;
    for (QChar c : text)
        shown += c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    return u'"' + shown + u'"';
}

} // namespace

std::vector<std::pair<QString, QWidget *>> monkeyControls(Form1 &f)
{
    std::vector<std::pair<QString, QWidget *>> c;
    auto add = [&c](const char *name, QWidget *widget) { c.emplace_back(QString::fromUtf8(name), widget); };
    auto addArray = [&c](const char *name, const auto &array, std::size_t from = 0) {
        for (std::size_t i = from; i < array.size(); ++i)
            c.emplace_back(QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i), array[i]);
    };
    add("LblOtsikko", f.LblOtsikko);
    add("LblPelaajat", f.LblPelaajat);
    addArray("LblNimi", f.LblNimi);
    for (int code = 1; code <= category::count; ++code) {
        c.emplace_back(QStringLiteral("row heading %1").arg(code), f.categoryHeadings[std::size_t(code)]);
        for (int p = 0; p < GameState::maxPlayers; ++p)
            c.emplace_back(QStringLiteral("row %1 cell(%2)").arg(code).arg(p), f.categoryCells[std::size_t(code)][std::size_t(p)]);
    }
    add("LblYläYhteensä", f.LblYläYhteensä);
    addArray("LblYläYhteensäPelaaja", f.LblYläYhteensäPelaaja);
    add("LblBonus", f.LblBonus);
    addArray("LblBonusPelaaja", f.LblBonusPelaaja);
    add("LblKaikkiYhteensä", f.LblKaikkiYhteensä);
    addArray("LblKaikkiYhteensäPelaaja", f.LblKaikkiYhteensäPelaaja);
    add("FrameArpakuutiot", f.FrameArpakuutiot);
    addArray("Arpakuutio", f.dice);
    add("FrameVuorossa", f.FrameVuorossa);
    add("LblVuorossa", f.LblVuorossa);
    add("FrameHeittokerrat", f.FrameHeittokerrat);
    add("LblHeittokerrat", f.LblHeittokerrat);
    add("Frame1", f.Frame1);
    add("CmdValitutUudelleen", f.CmdValitutUudelleen);
    add("CmdSäästäKaikki", f.CmdSäästäKaikki);
    add("CmdKaikkiUudelleen", f.CmdKaikkiUudelleen);
    add("Frame99ListaPohja", f.Frame99ListaPohja);
    add("Lbl99Listalle1", f.Lbl99Listalle1);
    add("Lbl99Listalle2", f.Lbl99Listalle2);
    add("Lbl99Listalle3", f.Lbl99Listalle3);
    add("Lbl99Listalle4", f.Lbl99Listalle4);
    add("Txt99ListaNimi", f.Txt99ListaNimi);
    add("Cmd99ListaOK", f.Cmd99ListaOK);
    add("Frame99Parasta", f.Frame99Parasta);
    addArray("Lbl99Sijoitus", f.Lbl99Sijoitus);
    addArray("Lbl99Nimi", f.Lbl99Nimi);
    addArray("Lbl99Pvm", f.Lbl99Pvm);
    addArray("Lbl99Tulos", f.Lbl99Tulos);
    add("Scroll99Lista", f.Scroll99Lista);
    add("LblAloitusruutu", f.LblAloitusruutu);
    add("FrameAloitusruutu", f.FrameAloitusruutu);
    addArray("playerCountOptions", f.playerCountOptions);
    add("FrameAloitaLopeta", f.FrameAloitaLopeta);
    add("CmdAloitaPeli", f.CmdAloitaPeli);
    add("CmdLopetaPeli", f.CmdLopetaPeli);
    add("LblAlkuTervehdys", f.LblAlkuTervehdys);
    // The name boxes are typed into, not clicked: a click could open their list.
    return c;
}

void MonkeyPlayer::act()
{
    Form1 &f = *window_->form;
    if (f.Frame99ListaPohja->isVisible())
        actOnEntry(f);
    else if (f.CmdAloitaPeli->isVisible())
        actOnStartScreen(f);
    else if (f.gameOver)
        actAfterGame(f);
    else
        actInGame(f);
}

void MonkeyPlayer::actInGame(Form1 &f)
{
    MonkeyPlatform &platform = window_->platform;
    Menu menu;
    if (usable(f.CmdKaikkiUudelleen)) {
        menu.add(600, [&] {
            platform.time = random_.timeOfDay();
            clickControl(f.CmdKaikkiUudelleen, QStringLiteral("CmdKaikkiUudelleen at ") + platform.time);
        });
    }
    std::vector<int> dice;
    for (int d = 0; d < GameState::diceCount; ++d) {
        if (usable(f.dice[std::size_t(d)]))
            dice.push_back(d);
    }
    if (!dice.empty()) {
        menu.add(200, [&] {
            const int d = dice[std::size_t(random_.below(int(dice.size())))];
            clickControl(f.dice[std::size_t(d)], QStringLiteral("Arpakuutio%1").arg(d));
        });
    }
    if (!dice.empty())
        menu.add(300, [&] { aimForOneFace(f); });
    if (usable(f.CmdValitutUudelleen))
        menu.add(250, [&] { clickControl(f.CmdValitutUudelleen, QStringLiteral("CmdValitutUudelleen")); });
    if (usable(f.CmdSäästäKaikki))
        menu.add(150, [&] { clickControl(f.CmdSäästäKaikki, QStringLiteral("CmdSäästäKaikki")); });
    menu.add(f.mayRecord ? 900 : 30, [&] { clickRow(f); });
    if (available(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus)) {
        menu.add(50, [&] {
            chooseMenu(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus, QStringLiteral("undo"));
            if (available(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus))
                fail(QStringLiteral("the undo menu is still enabled right after an undo"));
        });
    }
    if (available(f.MenuPeli, f.MenuVihje)) {
        menu.add(15, [&] {
            chooseMenu(f.MenuPeli, f.MenuVihje, QStringLiteral("hint"));
            if (!f.LblOtsikko->caption().startsWith(QStringLiteral(" Vihje: ")))
                fail(QStringLiteral("the hint shows \"%1\"").arg(f.LblOtsikko->caption()));
        });
    }
    if (available(f.MenuPeli, f.MenuUusiksi))
        menu.add(1, [&] { chooseMenu(f.MenuPeli, f.MenuUusiksi, QStringLiteral("new game")); });
    if (available(f.MenuPeli, f.MenuLopetus))
        menu.add(1, [&] { chooseMenu(f.MenuPeli, f.MenuLopetus, QStringLiteral("quit")); });
    menu.add(60, [&] { clickAnyControl(); });
    menu.add(250, [&] { pressKey(f); });
    menu.add(20, [&] { moveScrollBar(f); });
    menu.add(1, [&] { closeWindow(f); });
    menu.add(8, [&] { pressAccessKey(f); });
    menu.run(random_);
}

void MonkeyPlayer::actOnStartScreen(Form1 &f)
{
    Menu menu;
    menu.add(10, [&] {
        const int k = random_.below(GameState::maxPlayers);
        clickControl(f.playerCountOptions[std::size_t(k)], QStringLiteral("playerCountOptions(%1)").arg(k));
    });
    std::vector<int> boxes;
    for (int k = 0; k < GameState::maxPlayers; ++k) {
        if (usable(f.ComboNimi[std::size_t(k)]))
            boxes.push_back(k);
    }
    if (!boxes.empty()) {
        menu.add(12, [&] {
            const int k = boxes[std::size_t(random_.below(int(boxes.size())))];
            QComboBox *box = f.ComboNimi[std::size_t(k)];
            const QString name = random_.name(12);
            switch (random_.below(4)) {
            case 3:  // the computer, the last name of every list
                note(QStringLiteral("ComboNimi%1: the computer").arg(k));
                box->setCurrentIndex(box->count() - 1);
                break;
            case 0:
                if (box->count() > 0) {
                    const int item = random_.below(box->count());
                    note(QStringLiteral("ComboNimi%1: item %2").arg(k).arg(item));
                    box->setCurrentIndex(item);
                }
                break;
            case 1:
                note(QStringLiteral("ComboNimi%1: set %2").arg(k).arg(quoted(name)));
                box->setCurrentText(name);
                break;
            default:
                note(QStringLiteral("ComboNimi%1: type %2").arg(k).arg(quoted(name)));
                QTest::keyClick(box->lineEdit(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
                typeInto(box->lineEdit(), name);
                break;
            }
        });
    }
    menu.add(25, [&] { clickControl(f.CmdAloitaPeli, QStringLiteral("CmdAloitaPeli")); });
    menu.add(1, [&] { clickControl(f.CmdLopetaPeli, QStringLiteral("CmdLopetaPeli")); });
    menu.add(6, [&] { clickAnyControl(); });
    menu.add(4, [&] { pressKey(f); });
    menu.add(3, [&] { moveScrollBar(f); });
    menu.add(1, [&] { closeWindow(f); });
    menu.add(2, [&] { pressAccessKey(f); });
    menu.run(random_);
}

void MonkeyPlayer::actOnEntry(Form1 &f)
{
    Menu menu;
    menu.add(40, [&] { enterName(f); });
    menu.add(20, [&] { pressOk(f, QStringLiteral("click")); });
    menu.add(5, [&] { pressOk(f, QStringLiteral("Enter")); });
    menu.add(4, [&] { clickRow(f); });
    menu.add(6, [&] { clickAnyControl(); });
    menu.add(6, [&] { pressKey(f); });
    menu.add(4, [&] { moveScrollBar(f); });
    menu.add(1, [&] { closeWindow(f); });
    menu.add(8, [&] { pressAccessKey(f); });
    menu.add(4, [&] { chooseMenu(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus, QStringLiteral("undo")); });
    menu.run(random_);
}

void MonkeyPlayer::actAfterGame(Form1 &f)
{
    Menu menu;
    if (usable(f.CmdKaikkiUudelleen))
        menu.add(40, [&] { clickControl(f.CmdKaikkiUudelleen, f.CmdKaikkiUudelleen->text()); });
    if (usable(f.CmdSäästäKaikki))
        menu.add(1, [&] { clickControl(f.CmdSäästäKaikki, f.CmdSäästäKaikki->text()); });
    menu.add(6, [&] { clickAnyControl(); });
    menu.add(6, [&] { pressKey(f); });
    menu.add(3, [&] { moveScrollBar(f); });
    menu.add(1, [&] { closeWindow(f); });
    menu.add(6, [&] { pressAccessKey(f); });
    menu.add(4, [&] { chooseMenu(f.MenuPeruutus, f.MenuEdellisenValinnanPeruutus, QStringLiteral("undo")); });
    menu.run(random_);
}

void MonkeyPlayer::clickControl(QWidget *widget, const QString &name)
{
    if (!usable(widget)) {
        note(QStringLiteral("(%1 cannot be clicked)").arg(name));
        return;
    }
    const QPoint at(random_.below(widget->width()), random_.below(widget->height()));
    note(QStringLiteral("click %1 at (%2, %3)").arg(name).arg(at.x()).arg(at.y()));
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void MonkeyPlayer::aimForOneFace(Form1 &f)
{
    // Keeps the face most dice show (the higher one on a tie): marks one die
    // of another face, or throws the marked ones when all are marked.
    std::array<int, 7> count{};
    for (int value : f.diceValues)
        count[std::size_t(std::clamp(value, 0, 6))] += 1;
    int face = 6;
    for (int v = 6; v >= 1; --v) {
        if (count[std::size_t(v)] > count[std::size_t(face)])
            face = v;
    }
    for (int d = 0; d < GameState::diceCount; ++d) {
        const std::size_t i = std::size_t(d);
        if (f.diceValues[i] != face && f.rethrowMarks[i] == 0 && usable(f.dice[i])) {
            clickControl(f.dice[i], QStringLiteral("Arpakuutio%1 (keeping %2s)").arg(d).arg(face));
            return;
        }
    }
    if (usable(f.CmdValitutUudelleen))
        clickControl(f.CmdValitutUudelleen, QStringLiteral("CmdValitutUudelleen (keeping %1s)").arg(face));
    else if (usable(f.CmdSäästäKaikki))
        clickControl(f.CmdSäästäKaikki, QStringLiteral("CmdSäästäKaikki"));
}

void MonkeyPlayer::clickAnyControl()
{
    std::vector<const std::pair<QString, QWidget *> *> open;
    for (const auto &control : controls_) {
        if (usable(control.second))
            open.push_back(&control);
    }
    if (open.empty())
        return;
    const auto &control = *open[std::size_t(random_.below(int(open.size())))];
    clickControl(control.second, control.first);
}

void MonkeyPlayer::clickRow(Form1 &f)
{
    int code = 1 + random_.below(category::count);
    if (f.mayRecord && random_.percent(85)) {
        // Mostly a row the player can still fill, so that games reach their
        // end, and often the best of them, so that totals reach the list.
        std::vector<int> free;
        for (int c = 1; c <= category::count; ++c) {
            if (f.categoryUsed[std::size_t(f.currentPlayer)][std::size_t(c)] == 0)
                free.push_back(c);
        }
        if (!free.empty()) {
            code = free[std::size_t(random_.below(int(free.size())))];
            if (random_.percent(60)) {
                const Dice dice = f.diceValues;
                code = *std::max_element(free.begin(), free.end(), [&dice](int a, int b) {
                    return scoreCategory(a, dice) < scoreCategory(b, dice);
                });
            }
        }
    }
    const int column = random_.below(GameState::maxPlayers + 1);  // 4: the heading
    QWidget *cell = column < GameState::maxPlayers ? f.categoryCells[std::size_t(code)][std::size_t(column)] : nullptr;
    if (cell && usable(cell))
        clickControl(cell, QStringLiteral("row %1 cell(%2)").arg(code).arg(column));
    else
        clickControl(f.categoryHeadings[std::size_t(code)], QStringLiteral("row heading %1").arg(code));
}

void MonkeyPlayer::moveScrollBar(Form1 &f)
{
    if (!usable(f.Scroll99Lista))
        return;
    if (random_.percent(50)) {
        const int value = random_.below(100);
        note(QStringLiteral("scroll the list to %1").arg(value));
        f.Scroll99Lista->setValue(value);
    } else {
        clickControl(f.Scroll99Lista, QStringLiteral("Scroll99Lista"));
    }
}

void MonkeyPlayer::closeWindow(Form1 &f)
{
    note(QStringLiteral("close the window"));
    const bool waiting = f.Frame99ListaPohja->isVisible();
    f.close();
    if (waiting && window_->platform.ended)
        ++figures_.endedInWait;
    note(window_->platform.lastQuestion);
}

void MonkeyPlayer::chooseMenu(QMenu *menu, QAction *item, const QString &name)
{
    if (!available(menu, item))
        return;
    note(QStringLiteral("menu: ") + name);
    window_->platform.questions.clear();
    item->trigger();
    if (window_->platform.questions.size() > 0)
        note(window_->platform.lastQuestion);
    window_->platform.questions.clear();
}

void MonkeyPlayer::typeInto(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClicks(widget, QString(c));
            continue;
        }
        // QTest knows the keys of ASCII only; beyond it a key event carries
        // the character as its text, as an input method delivers it.
        QString character(c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            character += text.at(++i);
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

void MonkeyPlayer::enterName(Form1 &f)
{
    QLineEdit *box = f.Txt99ListaNimi;
    const QString name = random_.name(10);
    switch (random_.below(3)) {
    case 0:
        note(QStringLiteral("type the name %1").arg(quoted(name)));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        typeInto(box, name);
        break;
    case 1:
        note(QStringLiteral("set the name %1").arg(quoted(name)));
        box->setText(name);
        break;
    default:
        note(QStringLiteral("type %1 after the name").arg(quoted(name)));
        typeInto(box, name);
        break;
    }
    if (random_.percent(70))
        pressOk(f, random_.percent(80) ? QStringLiteral("click") : QStringLiteral("Enter"));
}

void MonkeyPlayer::pressOk(Form1 &f, const QString &how)
{
    if (how == QLatin1String("Enter")) {
        note(QStringLiteral("Enter in the name box %1").arg(quoted(f.Txt99ListaNimi->text())));
        QTest::keyClick(f.Txt99ListaNimi, Qt::Key_Return);
    } else {
        clickControl(f.Cmd99ListaOK, QStringLiteral("Cmd99ListaOK with %1").arg(quoted(f.Txt99ListaNimi->text())));
    }
}
