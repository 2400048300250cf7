#include "game/PerfectPlay.h"

#include <QStringList>

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

QString rowName(int code)
{
    static const char *const names[] = {"",           "Ykköset",     "Kakkoset",    "Kolmoset",
                                        "Neloset",    "Vitoset",     "Kutoset",     "Yksi pari",
                                        "Kaksi paria", "Kolme samaa", "Neljä samaa", "Pieni suora",
                                        "Suuri suora", "Täyskäsi",    "Sattuma",     "Yatzy"};
    return code >= 1 && code <= category::count ? QString::fromUtf8(names[code]) : QString();
}

QString throwAgainWords(const std::array<bool, 5> &thrown)
{
    QStringList numbers;
    for (std::size_t d = 0; d < thrown.size(); ++d) {
        if (thrown[d])
            numbers << QString::number(d + 1);
    }
    if (numbers.size() == 5)
        return QStringLiteral("heitä kaikki arpakuutiot uudelleen");
    if (numbers.size() == 1)
        return QStringLiteral("heitä uudelleen arpakuutio %1").arg(numbers.front());
    const QString last = numbers.takeLast();
    return QStringLiteral("heitä uudelleen arpakuutiot %1 ja %2").arg(numbers.join(QStringLiteral(", ")), last);
}

QString actionWords(const strategy::Action &action, bool locked, const Dice &dice)
{
    using Kind = strategy::Action::Kind;
    if (action.kind == Kind::ThrowAll)
        return QStringLiteral("heitä kaikki arpakuutiot");
    if (action.kind == Kind::Record) {
        return locked ? QStringLiteral("kirjaa %1").arg(rowName(action.category))
                      : QStringLiteral("säästä kaikki ja kirjaa %1").arg(rowName(action.category));
    }
    return throwAgainWords(diceToThrowAgain(action.keep, dice));
}

QString hintText(const strategy::Action &action, bool locked, const Dice &dice)
{
    return QStringLiteral(" Vihje: %1.").arg(actionWords(action, locked, dice));
}
