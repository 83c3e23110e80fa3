#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Pictavo {

enum class Unit { None, Px, Pt, Pc, Mm, Cm, In, Q, Em, Ex, Percent, Deg, Rad, Grad, Turn };

// A number with the unit written behind it.
struct Length {
    float value = 0;
    Unit unit = Unit::None;
};

bool isAngle(Unit unit);

// White space as SVG and CSS know it (space, tab, line feed, carriage return,
// form feed), classified without a call into the C library.
inline bool isSpaceCharacter(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// ASCII only, whatever the locale.
inline bool isDigitCharacter(char c) { return c >= '0' && c <= '9'; }
inline bool isLetterCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Reads attribute and property values left to right. Every reader of the
// converter is built on these calls, so numbers, signs, separators and
// keywords follow one rule everywhere. A call that does not find what it
// looks for returns false and leaves the position where it was.
class ValueScanner {
public:
    explicit ValueScanner(std::string_view text) : text(text) {}

    std::string_view rest() const { return text.substr(position); }
    bool atEnd() const { return position == text.size(); }
    // The next character, or '\0' at the end.
    char next() const { return atEnd() ? '\0' : text[position]; }

    void skipSpace() {
        while (position < text.size() && isSpaceCharacter(text[position])) ++position;
    }
    // SVG's comma-wsp: white space, at most one comma, white space. True when
    // anything was skipped.
    bool skipCommaAndSpace();
    // A number: [+-]? (digits [. digits] | . digits) ([eE] [+-]? digits)?,
    // converted as strtod converts its text, then rounded to a float. An
    // exponent needs its digits: "1em" is 1 followed by "em".
    bool number(float& value);
    // A number and the unit or per cent sign written against it. Angle
    // units are read too; each reader says which units it accepts.
    bool length(Length& value);
    // A single 0 or 1, which may be written against what follows ("10" is
    // two flags).
    bool flag(bool& value);
    // A whole identifier equal to `lowerWord` without regard to case.
    bool keyword(std::string_view lowerWord);
    // An identifier: a letter, '-' or '_', then letters, digits, '-' or '_'.
    bool identifier(std::string_view& word);
    // The text up to the next `c`, which stays unread; false when no `c` follows.
    bool upTo(char c, std::string_view& before);
    // A run of hexadecimal digits.
    bool hexadecimalDigits(std::string_view& digits);
    // A CSS string: the text between a pair of double or single quotes
    // (escapes are kept as written). False when no quote opens here or the
    // string is not closed.
    bool quoted(std::string_view& content);
    bool character(char c) {
        if (next() != c || atEnd()) return false;
        ++position;
        return true;
    }

private:
    std::string_view text;
    std::size_t position = 0;

    std::size_t numberEnd(std::size_t from) const;
};

// Byte by byte, A to Z only, whatever the locale.
inline char loweredCharacter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of a hexadecimal digit, -1 for any other character.
inline int hexadecimalValue(char c) {
    if (isDigitCharacter(c)) return c - '0';
    const char lowered = loweredCharacter(c);
    if (lowered >= 'a' && lowered <= 'f') return lowered - 'a' + 10;
    return -1;
}

// Whether `text` equals `lowerWord` without regard to case.
bool equalsLowered(std::string_view text, std::string_view lowerWord);

std::string lowered(std::string_view text);

// The text without the white space around it.
std::string_view trimmed(std::string_view text);

// Whether the whole value, white space around it aside, is the keyword.
inline bool equalsKeyword(std::string_view value, std::string_view lowerWord) {
    return equalsLowered(trimmed(value), lowerWord);
}

}  // namespace Pictavo
