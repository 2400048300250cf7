#include "StateLine.h"

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

} // namespace

std::optional<StateLine> parseStateLine(const std::string &line, const strategy::Table &table, std::string *error)
{
    std::vector<std::string> fields;
    std::istringstream words(line);
    for (std::string word; words >> word;)
        fields.push_back(word);
    if (fields.size() != 8) {
        *error = std::to_string(fields.size()) + " fields where 8 are wanted: FILLED UPPER THROWS D1 D2 D3 D4 D5";
        return std::nullopt;
    }

    StateLine state;
    const std::optional<std::uint16_t> filled = parseFilled(fields[0], error);
    if (!filled)
        return std::nullopt;
    if (*filled == (1u << category::count) - 1) {
        *error = "every row is filled: the game is over";
        return std::nullopt;
    }
    state.sheet.filled = *filled;

    const std::optional<int> upper = wholeNumber(fields[1]);
    if (!upper || *upper < 0) {
        *error = "upper sum " + quoted(fields[1]) + " is not a whole number 0 or more";
        return std::nullopt;
    }
    state.sheet.upperSum = *upper;
    if (!table.possible(state.sheet)) {
        *error = "upper sum " + fields[1] + " cannot come from the filled upper rows";
        return std::nullopt;
    }

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
    return state;
}

std::string formatAction(const strategy::Action &action)
{
    char value[32];
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
