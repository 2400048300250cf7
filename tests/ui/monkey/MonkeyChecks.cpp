#include "MonkeyChecks.h"

#include "scoring/ScoringRules.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QStringList>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int highestTotal = 374;  // every row at its best, with the bonus

// The highest score of each row, by code; the straights and Yatzy score all
// or nothing.
constexpr int rowMaximum[16] = {0, 5, 10, 15, 20, 25, 30, 12, 22, 18, 24, 15, 20, 28, 30, 50};

bool possibleScore(int code, int value)
{
    if (value < 0 || value > rowMaximum[code])
        return false;
    if (code <= 6)
        return value % code == 0;
    if (code == 11 || code == 12 || code == 15)
        return value == 0 || value == rowMaximum[code];
    if (code == 14)
        return value >= 5;
    return true;
}

// A cell without a score: empty, or the single blank the threes row starts with.
bool blank(const QString &caption)
{
    return caption.trimmed().isEmpty();
}

// A caption as a number: a blank cell is 0; anything but plain digits is -1.
int number(const QString &caption)
{
    if (blank(caption))
        return 0;
    for (QChar c : caption) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    return caption.size() > 4 ? -1 : caption.toInt();
}

QString cellName(const char *row, int p)
{
    return QStringLiteral("%1(%2)").arg(QString::fromUtf8(row)).arg(p);
}

QString checkColumn(const Form1 &f, int p, bool live)
{
    const std::size_t i = std::size_t(p);
    int upper = 0;
    int all = 0;
    int upperFilled = 0;
    for (int code = 1; code <= category::count; ++code) {
        const QString caption = f.categoryCells[std::size_t(code)][i]->caption();
        const int value = number(caption);
        if (value < 0 || (!blank(caption) && !possibleScore(code, value)))
            return QStringLiteral("row %1 of player %2 shows \"%3\"").arg(code).arg(p).arg(caption);
        if (code <= 6) {
            upper += value;
            upperFilled += blank(caption) ? 0 : 1;
        }
        all += value;
        if (live && f.categoryUsed[i][std::size_t(code)] != (blank(caption) ? 0 : 1))
            return QStringLiteral("categoryUsed[%1][%2] is %3 but the cell shows \"%4\"")
                .arg(p).arg(code).arg(f.categoryUsed[i][std::size_t(code)]).arg(caption);
    }
    const QString bonus = f.LblBonusPelaaja[i]->caption();
    if (!bonus.isEmpty() && bonus != QLatin1String("0") && bonus != QLatin1String("50"))
        return QStringLiteral("the bonus of player %1 shows \"%2\"").arg(p).arg(bonus);
    all += number(bonus);

    const QString upperCaption = f.LblYläYhteensäPelaaja[i]->caption();
    const QString totalCaption = f.LblKaikkiYhteensäPelaaja[i]->caption();
    if (number(upperCaption) != upper)
        return QStringLiteral("%1 shows \"%2\" but the six upper cells add up to %3")
            .arg(cellName("LblYläYhteensäPelaaja", p), upperCaption).arg(upper);
    if (number(totalCaption) != all)
        return QStringLiteral("%1 shows \"%2\" but the cells and the bonus add up to %3")
            .arg(cellName("LblKaikkiYhteensäPelaaja", p), totalCaption).arg(all);
    if (all > highestTotal)
        return QStringLiteral("player %1 has a total of %2").arg(p).arg(all);
    if (!live)
        return {};

    if (f.grandTotal[i] != all)
        return QStringLiteral("grandTotal[%1] is %2 but the total cell shows \"%3\"").arg(p).arg(f.grandTotal[i]).arg(totalCaption);
    if (f.upperSum[i] != upper)
        return QStringLiteral("upperSum[%1] is %2 but the upper cells add up to %3").arg(p).arg(f.upperSum[i]).arg(upper);
    if (f.bonusDecided[i] != !bonus.isEmpty())
        return QStringLiteral("bonusDecided[%1] is %2 but the bonus cell shows \"%3\"").arg(p).arg(f.bonusDecided[i]).arg(bonus);
    if (bonus.isEmpty() != (upperFilled < 6))
        return QStringLiteral("player %1 has %2 upper rows filled and the bonus cell shows \"%3\"")
            .arg(p).arg(upperFilled).arg(bonus);
    if (!bonus.isEmpty() && (bonus == QLatin1String("50")) != (upper >= GameState::bonusThreshold))
        return QStringLiteral("player %1 has an upper sum of %2 and a bonus of %3").arg(p).arg(upper).arg(bonus);
    return {};
}

QString checkListView(const Form1 &f)
{
    if (f.listTop != f.Scroll99Lista->value())
        return QStringLiteral("the list view starts at %1 but its scroll bar reads %2").arg(f.listTop).arg(f.Scroll99Lista->value());
    if (f.listTop < 1 || f.listTop > 87)
        return QStringLiteral("the list view starts at place %1").arg(f.listTop);
    for (int r = 0; r < 13; ++r) {
        const std::size_t row = std::size_t(r);
        const std::size_t j = std::size_t(f.listTop + r - 1);
        if (f.Lbl99Sijoitus[row]->caption() != QStringLiteral(" %1.").arg(f.listTop + r)
            || f.Lbl99Nimi[row]->caption() != f.bestNames[j] || f.Lbl99Pvm[row]->caption() != f.bestDates[j]
            || f.Lbl99Tulos[row]->caption() != QString::number(f.bestScores[j]))
            return QStringLiteral("row %1 of the list view shows \"%2 %3 %4 %5\", not place %6")
                .arg(r)
                .arg(f.Lbl99Sijoitus[row]->caption(), f.Lbl99Nimi[row]->caption(), f.Lbl99Pvm[row]->caption(),
                     f.Lbl99Tulos[row]->caption())
                .arg(j + 1);
    }
    return {};
}

QString checkList(const BestList &list)
{
    for (int i = 0; i < bestListPlaces; ++i) {
        const int score = list.scores[std::size_t(i)];
        if (score < 0 || score > highestTotal)
            return QStringLiteral("place %1 has the score %2").arg(i + 1).arg(score);
        if (i > 0 && score > list.scores[std::size_t(i - 1)])
            return QStringLiteral("place %1 (%2) is above place %3 (%4)")
                .arg(i).arg(list.scores[std::size_t(i - 1)]).arg(i + 1).arg(score);
    }
    return {};
}

} // namespace

bool gameRunning(const Form1 &f)
{
    return !f.programEnded() && f.isVisible() && !f.CmdAloitaPeli->isVisible() && !f.gameOver;
}

QString checkWindow(const Form1 &f)
{
    const QString counter = f.LblHeittokerrat->caption();
    if (!(counter.isEmpty() || counter == QLatin1String("PERUU")
          || (counter.size() == 1 && counter[0] >= u'0' && counter[0] <= u'3')))
        return QStringLiteral("the throw counter shows \"%1\"").arg(counter);
    if (f.lastPlayer < 0 || f.lastPlayer >= GameState::maxPlayers)
        return QStringLiteral("lastPlayer is %1").arg(f.lastPlayer);
    for (int value : f.diceValues) {
        if (value < 0 || value > 6)
            return QStringLiteral("a die has the value %1").arg(value);
    }

    // The menus offer nothing while a place is offered, after a game or on
    // the start screen: no new game, quitting or undo of a finished game.
    const bool menusOff = f.Frame99ListaPohja->isVisible() || f.CmdAloitaPeli->isVisible() || f.gameOver;
    if (f.isVisible() && menusOff && f.MenuPeli->menuAction()->isEnabled())
        return QStringLiteral("the menu \"Peli\" is enabled outside a game");
    if (f.isVisible() && !f.CmdAloitaPeli->isVisible() && menusOff && f.MenuPeruutus->menuAction()->isEnabled())
        return QStringLiteral("the undo menu is enabled after the game");

    // While a name is entered, and after the game, no die, row or throw acts.
    const bool entry = f.Frame99ListaPohja->isVisible();
    if (f.isVisible() && (entry || (f.gameOver && !f.CmdAloitaPeli->isVisible()))
        && (std::any_of(f.dice.begin(), f.dice.end(), [](const QWidget *die) { return die->isEnabled(); })
            || f.CmdValitutUudelleen->isEnabled() || f.mayRecord || (entry && f.CmdKaikkiUudelleen->isEnabled())))
        return QStringLiteral("a die, row or throw acts during the name entry or after the game");

    // Nothing of the computer's turn is taken back, and it has no hint.
    if (f.computerToPlay() && (f.MenuPeruutus->menuAction()->isEnabled() || f.MenuVihje->isEnabled()))
        return QStringLiteral("the undo or the hint is offered in the computer's turn");

    const bool live = gameRunning(f);
    for (int p = 0; p < GameState::maxPlayers; ++p) {
        // Columns of players outside the game stay empty and their fields zero.
        const bool playing = p <= f.lastPlayerIndex;
        QString broken = checkColumn(f, p, live);
        if (broken.isEmpty() && live && !playing && f.LblKaikkiYhteensäPelaaja[std::size_t(p)]->caption() != QString())
            broken = QStringLiteral("player %1 is not in the game but has a total").arg(p);
        if (!broken.isEmpty())
            return broken;
    }
    if (live) {
        if (f.currentPlayer < 0 || f.currentPlayer > f.lastPlayerIndex)
            return QStringLiteral("currentPlayer is %1 with %2 players").arg(f.currentPlayer).arg(f.lastPlayerIndex + 1);
        if (counter != QLatin1String("PERUU") && counter != QString::number(f.throwCount))
            return QStringLiteral("the throw counter shows \"%1\" but throwCount is %2").arg(counter).arg(f.throwCount);
        for (int d = 0; d < GameState::diceCount; ++d) {
            const std::size_t i = std::size_t(d);
            if (f.rethrowMarks[i] == 1 && f.dice[i]->pictureName() != QStringLiteral("v%1.bmp").arg(f.diceValues[i]))
                return QStringLiteral("die %1 is marked but shows %2").arg(d).arg(f.dice[i]->pictureName());
        }
    }
    if (const QString broken = checkList(f.best); !broken.isEmpty())
        return QStringLiteral("in the window's list: ") + broken;
    return checkListView(f);
}

QString ListFileCheck::check(const QByteArray &bytes, const BestList *shown)
{
    if (bytes != lastBytes_) {
        if (bytes.count('\n') != bestListPlaces + 1 || bytes.count("\r\n") != bestListPlaces + 1
            || bytes.count('\r') != bestListPlaces + 1 || !bytes.endsWith("\r\n"))
            return QStringLiteral("lista99.txt does not have exactly 100 lines ended by CR LF (%1 bytes)").arg(bytes.size());
        QString error;
        const std::optional<BestListFile> read = parseBestList(bytes, &error);
        if (!read)
            return QStringLiteral("lista99.txt cannot be read: ") + error;
        if (computeCheckNumbers(read->list) != read->stored)
            return QStringLiteral("the check numbers of lista99.txt are wrong");
        if (const QString broken = checkList(read->list); !broken.isEmpty())
            return QStringLiteral("in lista99.txt: ") + broken;
        lastBytes_ = bytes;
        lastList_ = read->list;
    }
    if (!shown)
        return {};
    for (int i = 0; i < bestListPlaces; ++i) {
        const std::size_t j = std::size_t(i);
        if (shown->names[j] != lastList_.names[j] || shown->dates[j] != lastList_.dates[j]
            || shown->scores[j] != lastList_.scores[j])
            return QStringLiteral("place %1 is \"%2,%3,%4\" in the window but \"%5,%6,%7\" in lista99.txt")
                .arg(i + 1)
                .arg(shown->names[j], shown->dates[j])
                .arg(shown->scores[j])
                .arg(lastList_.names[j], lastList_.dates[j])
                .arg(lastList_.scores[j]);
    }
    return {};
}

QString describeWindow(const Form1 &f)
{
    QString text = QStringLiteral("players %1, currentPlayer %2, lastPlayer %3, lastCategory %4, mayRecord %5, "
                                  "gameOver %6, throwCount %7, counter \"%8\", dice %9 %10 %11 %12 %13\n")
                       .arg(f.lastPlayerIndex + 1)
                       .arg(f.currentPlayer)
                       .arg(f.lastPlayer)
                       .arg(f.lastCategory)
                       .arg(f.mayRecord)
                       .arg(f.gameOver)
                       .arg(f.throwCount)
                       .arg(f.LblHeittokerrat->caption())
                       .arg(f.diceValues[0])
                       .arg(f.diceValues[1])
                       .arg(f.diceValues[2])
                       .arg(f.diceValues[3])
                       .arg(f.diceValues[4]);
    for (int p = 0; p < GameState::maxPlayers; ++p) {
        const std::size_t i = std::size_t(p);
        QStringList cells;
        for (int code = 1; code <= category::count; ++code) {
            cells << QStringLiteral("%1:\"%2\"/%3")
                         .arg(code)
                         .arg(f.categoryCells[std::size_t(code)][i]->caption())
                         .arg(f.categoryUsed[i][std::size_t(code)]);
        }
        text += QStringLiteral("  player %1: %2 | upper \"%3\" (%4) bonus \"%5\" (%6) total \"%7\" (%8)\n")
                    .arg(p)
                    .arg(cells.join(u' '))
                    .arg(f.LblYläYhteensäPelaaja[i]->caption())
                    .arg(f.upperSum[i])
                    .arg(f.LblBonusPelaaja[i]->caption())
                    .arg(f.bonusDecided[i])
                    .arg(f.LblKaikkiYhteensäPelaaja[i]->caption())
                    .arg(f.grandTotal[i]);
    }
    return text;
}
