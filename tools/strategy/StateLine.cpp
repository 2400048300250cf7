#include "StateLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

// The whole field as a decimal integer, nothing before or after it.
std::optional<int> wholeNumber(const std::string &field)
{
    int value = 0;
    const char *end = field.data() + field.size();
    const auto [stop, fault] = std::from_chars(field.data(), end, value);
    if (fault != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string quoted(const std::string &field)
{
    return '"' + field + '"';
}

std::optional<std::uint16_t> parseFilled(const std::string &field, std::string *error)
{
    std::uint16_t filled = 0;
    if (field == "-")
        return filled;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = field.find(',', from);
        const std::string item = field.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const std::optional<int> code = wholeNumber(item);
        if (!code || *code < category::ones || *code > category::count) {
            *error = "filled row " + quoted(item) + " is not a row code 1..15";
            return std::nullopt;
        }
        const std::uint16_t bit = std::uint16_t(1u << (*code - 1));
        if (filled & bit) {
            *error = "row " + item + " is filled twice";
            return std::nullopt;
        }
        filled |= bit;
        if (comma == std::string::npos)
            return filled;
        from = comma + 1;
    }
}

std::vector<std::string> fieldsOf(const std::string &text)
{
    std::vector<std::string> fields;
    std::istringstream words(text);
    for (std::string word; words >> word;)
        fields.push_back(word);
    return fields;
}

// A player's sheet from FILLED and UPPER, one the table holds.
std::optional<strategy::Sheet> parseSheet(const std::string &filled, const std::string &upper,
                                          const strategy::Table &table, std::string *error)
{
    strategy::Sheet sheet;
    const std::optional<std::uint16_t> rows = parseFilled(filled, error);
    if (!rows)
        return std::nullopt;
    sheet.filled = *rows;
    const std::optional<int> sum = wholeNumber(upper);
    if (!sum || *sum < 0) {
        *error = "upper sum " + quoted(upper) + " is not a whole number 0 or more";
        return std::nullopt;
    }
    sheet.upperSum = *sum;
    if (!table.possible(sheet)) {
        *error = "upper sum " + upper + " cannot come from the filled upper rows";
        return std::nullopt;
    }
    return sheet;
}

// The recorded rows' points: the upper sum and what the lower rows filled
// can make.
std::optional<int> parsePoints(const std::string &field, strategy::Sheet sheet, std::string *error)
{
    // The most each row can score, over every throw.
    static const std::array<int, category::count + 1> mostOf = [] {
        std::array<int, category::count + 1> most{};
        for (int n = 0; n < 6 * 6 * 6 * 6 * 6; ++n) {
            Dice dice{};
            for (int i = 0, rest = n; i < 5; ++i, rest /= 6)
                dice[std::size_t(i)] = rest % 6 + 1;
            for (int code = category::ones; code <= category::count; ++code)
                most[std::size_t(code)] = std::max(most[std::size_t(code)], scoreCategory(code, dice));
        }
        return most;
    }();
    const std::optional<int> points = wholeNumber(field);
    int most = sheet.upperSum;
    for (int code = category::onePair; code <= category::yatzy; ++code)
        most += (sheet.filled >> (code - 1) & 1u) ? mostOf[std::size_t(code)] : 0;
    if (!points || *points < sheet.upperSum || *points > most) {
        *error = "points " + quoted(field) + " are not " + std::to_string(sheet.upperSum) + ".." + std::to_string(most)
                 + ": the upper sum and what the filled lower rows can make";
        return std::nullopt;
    }
    return points;
}

} // namespace

std::optional<StateLine> parseStateLine(const std::string &line, const strategy::Table &table, std::string *error)
{
    std::vector<std::string> players;
    for (std::size_t from = 0;;) {
        const std::size_t slash = line.find('/', from);
        players.push_back(line.substr(from, slash == std::string::npos ? std::string::npos : slash - from));
        if (slash == std::string::npos)
            break;
        from = slash + 1;
    }
    const bool several = players.size() > 1;
    const std::vector<std::string> fields = fieldsOf(players[0]);
    if (!several && fields.size() != 8) {
        *error = std::to_string(fields.size()) + " fields where 8 are wanted: FILLED UPPER THROWS D1 D2 D3 D4 D5";
        return std::nullopt;
    }
    if (several && fields.size() != 9) {
        *error = std::to_string(fields.size())
                 + " fields before the first / where 9 are wanted: FILLED UPPER THROWS D1 D2 D3 D4 D5 POINTS";
        return std::nullopt;
    }
    if (players.size() > 4) {
        *error = std::to_string(players.size() - 1) + " other players where a game has at most 3";
        return std::nullopt;
    }

    StateLine state;
    const std::optional<strategy::Sheet> sheet = parseSheet(fields[0], fields[1], table, error);
    if (!sheet)
        return std::nullopt;
    if (sheet->filled == (1u << category::count) - 1) {
        *error = "every row is filled: the game is over";
        return std::nullopt;
    }
    state.sheet = *sheet;

    const std::optional<int> throwsMade = wholeNumber(fields[2]);
    if (!throwsMade || *throwsMade < 1 || *throwsMade > 3) {
        *error = "throws " + quoted(fields[2]) + " is not 1, 2 or 3";
        return std::nullopt;
    }
    state.throwsMade = *throwsMade;

    for (int i = 0; i < 5; ++i) {
        const std::optional<int> face = wholeNumber(fields[std::size_t(3 + i)]);
        if (!face || *face < 1 || *face > 6) {
            *error = "die " + std::to_string(i + 1) + ' ' + quoted(fields[std::size_t(3 + i)]) + " is not 1..6";
            return std::nullopt;
        }
        state.dice[std::size_t(i)] = *face;
    }
    if (!several)
        return state;

    const std::optional<int> points = parsePoints(fields[8], state.sheet, error);
    if (!points)
        return std::nullopt;
    state.points = *points;
    for (std::size_t i = 1; i < players.size(); ++i) {
        const std::vector<std::string> theirs = fieldsOf(players[i]);
        const std::string who = "player " + std::to_string(i + 1) + ": ";
        std::optional<strategy::Sheet> other;
        std::optional<int> otherPoints;
        if (theirs.size() != 3) {
            *error = std::to_string(theirs.size()) + " fields where 3 are wanted: FILLED UPPER POINTS";
        } else if ((other = parseSheet(theirs[0], theirs[1], table, error))) {
            otherPoints = parsePoints(theirs[2], *other, error);
        }
        if (!otherPoints) {
            *error = who + *error;
            return std::nullopt;
        }
        strategy::Position position;
        position.sheet = *other;
        position.points = *otherPoints;
        state.others.push_back(position);
    }
    return state;
}

std::string formatAction(const strategy::Action &action, std::optional<double> chance)
{
    char value[48];
    if (chance)
        std::snprintf(value, sizeof value, "%.4f %.4f", action.value, *chance);
    else
        std::snprintf(value, sizeof value, "%.4f", action.value);
    if (action.kind == strategy::Action::Kind::Record)
        return "record " + std::to_string(action.category) + ' ' + value;
    std::string line = "keep";
    for (int face = 1; face <= 6; ++face) {
        for (int n = 0; n < action.keep[std::size_t(face)]; ++n)
            line += ' ' + std::to_string(face);
    }
    if (line == "keep")
        line += " -";
    return line + ' ' + value;
}
