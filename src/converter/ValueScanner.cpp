#include "converter/ValueScanner.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace Pictavo {

namespace {

bool startsIdentifier(char c) { return isLetterCharacter(c) || c == '-' || c == '_'; }
bool continuesIdentifier(char c) { return startsIdentifier(c) || isDigitCharacter(c); }

// from_chars rounds decimal digits to the double strtod gives; only a value
// beyond the range of a double, which from_chars refuses, goes to strtod
// itself, on a copy that ends in a NUL.
double decimalValue(std::string_view digits) {
    double value = 0;
    const std::from_chars_result result =
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc()) return value;
    return std::strtod(std::string(digits).c_str(), nullptr);
}

struct UnitName {
    std::string_view name;
    Unit unit;
};

const UnitName unitNames[] = {
    {"px", Unit::Px},     {"pt", Unit::Pt},   {"pc", Unit::Pc},   {"mm", Unit::Mm},
    {"cm", Unit::Cm},     {"in", Unit::In},   {"q", Unit::Q},     {"em", Unit::Em},
    {"ex", Unit::Ex},     {"deg", Unit::Deg}, {"rad", Unit::Rad}, {"grad", Unit::Grad},
    {"turn", Unit::Turn},
};

}  // namespace

bool isAngle(Unit unit) {
    return unit == Unit::Deg || unit == Unit::Rad || unit == Unit::Grad || unit == Unit::Turn;
}

bool equalsLowered(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (loweredCharacter(text[i]) != lowerWord[i]) return false;
    return true;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = loweredCharacter(c);
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpaceCharacter(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpaceCharacter(text.back())) text.remove_suffix(1);
    return text;
}

bool ValueScanner::skipCommaAndSpace() {
    const std::size_t start = position;
    skipSpace();
    if (character(',')) skipSpace();
    return position != start;
}

// Where the number starting at `from` ends, or `from` when none starts there.
std::size_t ValueScanner::numberEnd(std::size_t from) const {
    const std::size_t size = text.size();
    std::size_t end = from;
    if (end < size && (text[end] == '+' || text[end] == '-')) ++end;
    const std::size_t integerStart = end;
    while (end < size && isDigitCharacter(text[end])) ++end;
    const bool integerDigits = end > integerStart;
    if (end + 1 < size && text[end] == '.' && isDigitCharacter(text[end + 1])) {
        end += 2;
        while (end < size && isDigitCharacter(text[end])) ++end;
    } else if (!integerDigits) {
        return from;
    }
    if (end < size && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < size && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < size && isDigitCharacter(text[exponent])) {
            while (exponent < size && isDigitCharacter(text[exponent])) ++exponent;
            end = exponent;
        }
    }
    return end;
}

bool ValueScanner::number(float& value) {
    const std::size_t end = numberEnd(position);
    if (end == position) return false;
    const bool negative = text[position] == '-';
    const std::size_t digits = position + (negative || text[position] == '+');
    const double magnitude = decimalValue(text.substr(digits, end - digits));
    value = static_cast<float>(negative ? -magnitude : magnitude);
    position = end;
    return true;
}

bool ValueScanner::length(Length& value) {
    const std::size_t start = position;
    if (!number(value.value)) return false;
    value.unit = Unit::None;
    if (character('%')) {
        value.unit = Unit::Percent;
        return true;
    }
    std::size_t end = position;
    while (end < text.size() && isLetterCharacter(text[end])) ++end;
    if (end == position) return true;
    const std::string_view name = text.substr(position, end - position);
    for (const UnitName& unit : unitNames) {
        if (equalsLowered(name, unit.name)) {
            value.unit = unit.unit;
            position = end;
            return true;
        }
    }
    position = start;
    return false;
}

bool ValueScanner::flag(bool& value) {
    const char c = next();
    if (c != '0' && c != '1') return false;
    value = c == '1';
    ++position;
    return true;
}

bool ValueScanner::identifier(std::string_view& word) {
    // "-5" is a number and "-" alone nothing: a leading hyphen needs a
    // letter, '_' or a second hyphen behind it.
    const std::size_t size = text.size();
    std::size_t end = position;
    if (end < size && text[end] == '-') ++end;
    if (end >= size || !startsIdentifier(text[end])) return false;
    ++end;
    while (end < size && continuesIdentifier(text[end])) ++end;
    word = text.substr(position, end - position);
    position = end;
    return true;
}

bool ValueScanner::quoted(std::string_view& content) {
    const char quote = next();
    if (quote != '"' && quote != '\'') return false;
    const std::size_t end = text.find(quote, position + 1);
    if (end == std::string_view::npos) return false;
    content = text.substr(position + 1, end - position - 1);
    position = end + 1;
    return true;
}

bool ValueScanner::upTo(char c, std::string_view& before) {
    const std::size_t end = text.find(c, position);
    if (end == std::string_view::npos) return false;
    before = text.substr(position, end - position);
    position = end;
    return true;
}

bool ValueScanner::hexadecimalDigits(std::string_view& digits) {
    std::size_t end = position;
    while (end < text.size() && hexadecimalValue(text[end]) >= 0) ++end;
    if (end == position) return false;
    digits = text.substr(position, end - position);
    position = end;
    return true;
}

bool ValueScanner::keyword(std::string_view lowerWord) {
    const std::size_t start = position;
    std::string_view word;
    if (identifier(word) && equalsLowered(word, lowerWord)) return true;
    position = start;
    return false;
}

}  // namespace Pictavo
