#include "game/PerfectPlay.h"

#include "game/GameState.h"

#include <QStringList>

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

std::array<bool, 5> diceToThrowAgain(const std::array<int, 7> &keep, const Dice &dice)
{
    std::array<int, 7> left = keep;
    std::array<bool, 5> thrown{};
    for (std::size_t d = 0; d < dice.size(); ++d) {
        int &kept = left[std::size_t(dice[d])];
        thrown[d] = kept == 0;
        if (kept > 0)
            --kept;
    }
    return thrown;
}

QString hintText(const strategy::Action &action, bool locked, const Dice &dice,
                 const std::function<QString(int code)> &rowName)
{
    using Kind = strategy::Action::Kind;
    if (action.kind == Kind::ThrowAll)
        return QStringLiteral(" Vihje: heitä kaikki arpakuutiot.");
    if (action.kind == Kind::Record) {
        return locked ? QStringLiteral(" Vihje: kirjaa %1.").arg(rowName(action.category))
                      : QStringLiteral(" Vihje: säästä kaikki ja kirjaa %1.").arg(rowName(action.category));
    }
    // The dice are numbered 1..5 from the top, as a screen reader names them.
    QStringList numbers;
    const std::array<bool, 5> thrown = diceToThrowAgain(action.keep, dice);
    for (std::size_t d = 0; d < thrown.size(); ++d) {
        if (thrown[d])
            numbers << QString::number(d + 1);
    }
    if (numbers.size() == 5)
        return QStringLiteral(" Vihje: heitä kaikki arpakuutiot uudelleen.");
    if (numbers.size() == 1)
        return QStringLiteral(" Vihje: heitä uudelleen arpakuutio %1.").arg(numbers.front());
    const QString last = numbers.takeLast();
    return QStringLiteral(" Vihje: heitä uudelleen arpakuutiot %1 ja %2.").arg(numbers.join(QStringLiteral(", ")), last);
}
