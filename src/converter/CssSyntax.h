#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "converter/ValueScanner.h"

// The pieces of CSS syntax that style sheets, selectors and declaration lists
// share: characters, comments, strings, identifiers and blocks. Positions are
// indexes into the text; nothing here allocates unless it decodes.
namespace Pictavo::Css {

std::size_t skipComments(std::string_view text, std::size_t position);

// Skips white space and comments. Tells whether white space was among them:
// in a selector white space is a combinator and a comment is not.
std::size_t skipWhitespaceAndComments(std::string_view text, std::size_t position,
                                      bool* sawWhitespace = nullptr);

// Calls `visit` with each word of a white-space separated list until it
// returns true; tells whether it did.
template <typename Visit>
bool anyWord(std::string_view text, Visit visit) {
    std::size_t position = 0;
    while (position < text.size()) {
        while (position < text.size() && isSpaceCharacter(text[position])) ++position;
        std::size_t end = position;
        while (end < text.size() && !isSpaceCharacter(text[end])) ++end;
        if (end > position && visit(text.substr(position, end - position))) return true;
        position = end;
    }
    return false;
}

bool startsIdentifier(std::string_view text, std::size_t position);

// Reads the identifier at `position`, escapes decoded, into `name` and moves
// `position` behind it; false, with nothing moved, when none starts there.
bool readIdentifier(std::string_view text, std::size_t& position, std::string& name);

struct StringEnd {
    std::size_t end;  // behind the closing quote, or at the line break or end that cut it short
    bool cut;         // an unescaped line break ended it: a bad string, invalid wherever it is
};

// The string whose quote is at `position`; its value, escapes decoded, is
// appended to `value` when one is given.
StringEnd readString(std::string_view text, std::size_t position, std::string* value = nullptr);

// Where the component at `position` ends: a comment, a string, an unquoted
// url(...), an escape, or else one character. Braces and semicolons inside
// the first four are text, not structure.
std::size_t componentEnd(std::string_view text, std::size_t position);

// The position of the first of `stops` outside any (), [] or {} block opened
// from `position` on, or the end of the text. A closer that does not close the
// innermost open block is text, as CSS reads it.
std::size_t runEnd(std::string_view text, std::size_t position, std::string_view stops);

// The text with every comment replaced by a space, which keeps the tokens on
// either side apart as the comment did.
std::string withoutComments(std::string_view text);

}  // namespace Pictavo::Css
