#include "WindowFixture.h"

#include "files/Windows1252.h"

#include <QFile>
#include <QGroupBox>
#include <QScrollBar>
#include <map>

ProgramFolder::ProgramFolder()
{
    write(QStringLiteral("nimet.txt"), QByteArray("Anna\r\nPekka\r\n"));
    write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int i) { return 300 - 2 * i; })));
}

void ProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(file(name)));
    f.write(bytes);
}

QByteArray ProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ProgramFolder::remove(const QString &name) const
{
    QFile::remove(file(name));
}

BestList makeList(const std::function<int(int)> &score)
{
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[std::size_t(i)] = QStringLiteral("Nimi%1").arg(i + 1);
        list.dates[std::size_t(i)] = QStringLiteral("01.01.26");
        list.scores[std::size_t(i)] = std::int16_t(score(i));
    }
    return list;
}

QByteArray listFileBytes(const BestList &list)
{
    return formatBestList(list, computeCheckNumbers(list));
}

Window::Window(const ProgramFolder &folder, QList<bool> answers) : Window(folder.path(), std::move(answers)) {}

Window::Window(const QString &folder, QList<bool> answers)
{
    platform.folder = folder;
    platform.answers = std::move(answers);
    form = std::make_unique<Form1>(platform);
    loaded = form->Form_Load();
    if (loaded) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()) || !QTest::qWaitFor([this] { return form->fullyStarted(); }))
            qWarning("window not exposed");
    }
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

bool choose(QMenu *menu, QAction *item)
{
    if (!menu->menuAction()->isEnabled() || !item->isEnabled())
        return false;
    item->trigger();
    return true;
}

void startGame(Form1 &form, int players, const QStringList &names)
{
    click(form.playerCountOptions[std::size_t(players - 1)]);
    for (int k = 0; k < names.size(); ++k)
        form.ComboNimi[std::size_t(k)]->setCurrentText(names[k]);
    click(form.CmdAloitaPeli);
}

void throwAll(Form1 &form, const Dice &values)
{
    click(form.CmdKaikkiUudelleen);
    form.diceValues = values;
    // The game's record holds the dice as the throw gave them.
    if (!form.record.entries.empty() && form.record.entries.back().kind == GameRecord::Kind::Throw)
        form.record.entries.back().dice = values;
}

void record(Form1 &form, int code, const Dice &values)
{
    throwAll(form, values);
    if (form.CmdSäästäKaikki->isEnabled())
        click(form.CmdSäästäKaikki);
    click(form.categoryHeadings[std::size_t(code)]);
}

void whenWaiting(std::function<void()> action)
{
    QTimer::singleShot(0, std::move(action));
}

void writeUnbeatableList(const ProgramFolder &folder)
{
    folder.write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int) { return 400; })));
}

bool undo(Form1 &form)
{
    return choose(form.MenuPeruutus, form.MenuEdellisenValinnanPeruutus);
}

void clickDice(Form1 &form, std::initializer_list<int> indexes)
{
    for (int d : indexes)
        click(form.dice[std::size_t(d)]);
}

QStringList diePictures(const Form1 &form)
{
    QStringList names;
    for (const DieBox *die : form.dice)
        names << die->pictureName();
    return names;
}

QStringList facePictures(const Dice &values)
{
    QStringList names;
    for (int value : values)
        names << QStringLiteral("%1.bmp").arg(value);
    return names;
}

bool undoEnabled(const Form1 &form)
{
    return form.MenuPeruutus->menuAction()->isEnabled();
}

QStringList sheetCaptions(const Form1 &form)
{
    QStringList captions;
    for (std::size_t p = 0; p < std::size_t(Form1::maxPlayers); ++p) {
        for (int code = 1; code <= category::count; ++code)
            captions << form.categoryCells[std::size_t(code)][p]->caption();
        captions << form.LblYläYhteensäPelaaja[p]->caption() << form.LblBonusPelaaja[p]->caption()
                 << form.LblKaikkiYhteensäPelaaja[p]->caption();
    }
    return captions;
}

QStringList windowState(const Form1 &form, ListView listView)
{
    const auto shown = [](const QWidget *widget) {
        return QString::fromLatin1(widget->isVisible() ? "v" : "-") + QString::fromLatin1(widget->isEnabled() ? "e" : "-");
    };
    // A cell of blanks shows as an empty one: the threes' cells start with a
    // blank in a new window and are emptied by a new game.
    QStringList state;
    for (const QString &caption : sheetCaptions(form))
        state << caption.trimmed();
    for (const EventLabel *header : form.LblNimi)
        state << header->caption() + shown(header) + header->foreColor().name();
    for (const DieBox *die : form.dice)
        state << die->pictureName() + die->toolTip() + shown(die);
    state << form.LblOtsikko->caption() + form.LblOtsikko->backColor().name() << form.LblHeittokerrat->caption()
          << form.LblVuorossa->caption();
    for (const QAbstractButton *button : form.centralWidget()->findChildren<QAbstractButton *>())
        state << button->text() + button->toolTip() + shown(button) + QString::fromLatin1(button->isChecked() ? "c" : "-");
    for (const QComboBox *box : form.ComboNimi)
        state << box->currentText() + shown(box);
    // The best-99 entry, while it is shown: a hidden one keeps the texts of
    // an earlier game's.
    state << shown(form.Frame99ListaPohja);
    if (form.Frame99ListaPohja->isVisible())
        state << form.Txt99ListaNimi->text() + shown(form.Txt99ListaNimi) << form.Lbl99Listalle2->caption()
              << form.Lbl99Listalle4->caption();
    for (const QMenu *menu : {form.MenuPeli, form.MenuPeruutus, form.MenuArvio}) {
        state << menu->title() + QString::number(menu->menuAction()->isEnabled());
        for (const QAction *item : menu->actions())
            state << item->text() + QString::number(item->isEnabled());
    }
    const QColor unmarked = form.palette().color(QPalette::Midlight);
    const bool marked = std::any_of(form.Lbl99Sijoitus.begin(), form.Lbl99Sijoitus.end(),
                                    [&](const EventLabel *place) { return place->backColor() != unmarked; });
    if (listView == ListView::Always || marked) {
        state << QString::number(form.Scroll99Lista->value());
        for (const EventLabel *place : form.Lbl99Sijoitus)
            state << place->caption() + place->backColor().name();
    }
    return state;
}

void whenWaiting(QObject *context, std::function<void()> action)
{
    QTimer::singleShot(0, context, std::move(action));
}

namespace {

// For each row, every score its dice can give, with the first dice found for it.
using RowScores = std::map<int, Dice>;

const std::array<RowScores, 16> &scoresByRow()
{
    static const std::array<RowScores, 16> rows = [] {
        std::array<RowScores, 16> table;
        Dice d;
        for (d[0] = 1; d[0] <= 6; ++d[0])
            for (d[1] = d[0]; d[1] <= 6; ++d[1])
                for (d[2] = d[1]; d[2] <= 6; ++d[2])
                    for (d[3] = d[2]; d[3] <= 6; ++d[3])
                        for (d[4] = d[3]; d[4] <= 6; ++d[4])
                            for (int code = 1; code <= category::count; ++code)
                                table[std::size_t(code)].emplace(scoreCategory(code, d), d);
        return table;
    }();
    return rows;
}

// reach[k] holds every sum the first k of `codes` can add up to, each with the
// score of row k - 1 that first reached it; walking back gives all the scores.
using Reach = std::vector<std::map<int, int>>;

Reach reachableSums(const std::vector<int> &codes)
{
    Reach reach(codes.size() + 1);
    reach[0][0] = 0;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        for (const auto &reached : reach[k]) {
            for (const auto &option : scoresByRow()[std::size_t(codes[k])])
                reach[k + 1].emplace(reached.first + option.first, option.first);
        }
    }
    return reach;
}

void chooseDice(const Reach &reach, const std::vector<int> &codes, int sum, std::array<Dice, 16> &dice)
{
    for (std::size_t k = codes.size(); k >= 1; --k) {
        const int score = reach[k].at(sum);
        dice[std::size_t(codes[k - 1])] = scoresByRow()[std::size_t(codes[k - 1])].at(score);
        sum -= score;
    }
}

} // namespace

PlannedGame::PlannedGame(Form1 &form, const QList<int> &totals) : form_(form)
{
    if (totals.size() != form.lastPlayerIndex + 1)
        qFatal("PlannedGame: %d totals for %d players", int(totals.size()), form.lastPlayerIndex + 1);
    const std::vector<int> upper = {1, 2, 3, 4, 5, 6};
    const std::vector<int> lower = {7, 8, 9, 10, 11, 12, 13, 14, 15};
    static const Reach upperReach = reachableSums(upper);
    static const Reach lowerReach = reachableSums(lower);

    for (const int total : totals) {
        std::array<Dice, 16> dice{};
        bool found = false;
        for (const auto &reached : upperReach.back()) {
            const int upperSum = reached.first;
            const int lowerSum = total - upperSum - (upperSum >= GameState::bonusThreshold ? GameState::bonusPoints : 0);
            if (lowerReach.back().count(lowerSum)) {
                chooseDice(upperReach, upper, upperSum, dice);
                chooseDice(lowerReach, lower, lowerSum, dice);
                found = true;
                break;
            }
        }
        if (!found)
            qFatal("PlannedGame: no game ends with a total of %d", total);
        dice_.push_back(dice);
    }
}

void PlannedGame::playToLastScore()
{
    const int players = int(dice_.size());
    for (int code = 1; code <= category::count; ++code) {
        for (int p = 0; p < players; ++p) {
            if (code == category::count && p == players - 1)
                return;
            record(form_, code, dice(p, code));
        }
    }
}

void PlannedGame::playLastScore()
{
    record(form_, category::count, dice(int(dice_.size()) - 1, category::count));
}

void PlannedGame::play()
{
    playToLastScore();
    playLastScore();
}

WaitGuard::WaitGuard(Window &window, int ms)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this, &window] {
        fired_ = true;
        window.platform.answers.prepend(true);
        window->close();
    });
    timer_.start(ms);
}
