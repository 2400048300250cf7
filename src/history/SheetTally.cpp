#include "history/SheetTally.h"

#include <algorithm>

void SheetTally::apply(const GameRecord::Entry &entry)
{
    if (entry.player < 0 || std::size_t(entry.player) >= sheets_.size())
        return;
    Sheet &sheet = sheets_[std::size_t(entry.player)];
    switch (entry.kind) {
    case GameRecord::Kind::KeepAll:
        sheet.choices.push_back(0);
        break;
    case GameRecord::Kind::Record: {
        const int code = entry.category;
        // A filled row is refused by the window before it is recorded, so a
        // record over one is not the window's: it is left out.
        if (code < 1 || code > category::count || sheet.filled >> (code - 1) & 1)
            break;
        sheet.score[std::size_t(code)] = scoreCategory(code, entry.dice);
        sheet.filled = std::uint16_t(sheet.filled | 1u << (code - 1));
        sheet.choices.push_back(code);
        break;
    }
    case GameRecord::Kind::Undo:
        if (!sheet.choices.empty()) {
            const int code = sheet.choices.back();
            sheet.choices.pop_back();
            if (code > 0) {
                sheet.score[std::size_t(code)] = 0;
                sheet.filled = std::uint16_t(sheet.filled & ~(1u << (code - 1)));
            }
        }
        break;
    default:
        break;
    }
}

int SheetTally::Sheet::upperSum() const
{
    int sum = 0;
    for (int code = category::ones; code <= category::sixes; ++code)
        sum += score[std::size_t(code)];
    return sum;
}

int SheetTally::points(std::size_t player) const
{
    const Sheet &sheet = sheets_.at(player);
    int sum = 0;
    for (const int score : sheet.score)
        sum += score;
    return sum + (bonusMade(player) ? upperBonus::points : 0);
}

int SheetTally::filledRows(std::size_t player) const
{
    return __builtin_popcount(sheets_.at(player).filled);
}

bool SheetTally::bonusMade(std::size_t player) const
{
    const Sheet &sheet = sheets_.at(player);
    return sheet.upperFilled() && sheet.upperSum() >= upperBonus::threshold;
}

bool SheetTally::yatzyScored(std::size_t player) const
{
    return sheets_.at(player).score[category::yatzy] == 50;
}

int SheetTally::turn() const
{
    int fewest = category::count;
    for (std::size_t p = 0; p < sheets_.size(); ++p)
        fewest = std::min(fewest, filledRows(p));
    return fewest + 1;
}
