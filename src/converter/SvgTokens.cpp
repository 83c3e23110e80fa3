#include <algorithm>
#include <cstring>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

SVG::TokenType SVG::tokenType(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte == 0) return TokenType::End;
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) return TokenType::Word;
    if ((byte >= '0' && byte <= '9') || byte == '.') return TokenType::Number;
    if (byte == '+' || byte == '-') return TokenType::Sign;
    if (byte == ':' || byte == ';') return TokenType::Delimiter;
    return TokenType::Other;
}

static bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at `text`: digits holding at most one full stop, then an
// exponent (e or E, an optional sign, at least one digit) when one follows a
// digit directly. A second full stop starts the next number.
static std::size_t numberLength(const char* text) {
    std::size_t length = 0;
    bool fullStop = false;
    bool digits = false;
    for (;; ++length) {
        if (isDigit(text[length])) {
            digits = true;
        } else if (text[length] == '.' && !fullStop) {
            fullStop = true;
        } else {
            break;
        }
    }
    if (!digits || (text[length] != 'e' && text[length] != 'E')) return length;
    std::size_t exponent = length + 1;
    if (text[exponent] == '+' || text[exponent] == '-') ++exponent;
    if (!isDigit(text[exponent])) return length;
    while (isDigit(text[exponent])) ++exponent;
    return exponent;
}

static std::size_t runLength(const char* text, SVG::TokenType type) {
    std::size_t length = 1;
    while (SVG::tokenType(text[length]) == type) ++length;
    return length;
}

std::size_t SVG::tokenParser(const char* position, char* token, std::size_t capacity,
                             const char** next, TokenType& type) {
    type = tokenType(*position);
    if (type == TokenType::End) return 0;
    std::size_t length =
        type == TokenType::Number ? numberLength(position) : runLength(position, type);
    std::size_t copied = std::min(length, capacity - 1);
    std::memcpy(token, position, copied);
    token[copied] = '\0';
    *next = position + length;
    return copied;
}

char* SVG::trim(char* text) {
    while (isSpaceCharacter(*text)) ++text;
    if (*text == '\0') return text;
    char* last = text + std::strlen(text) - 1;
    while (isSpaceCharacter(*last)) --last;
    last[1] = '\0';
    return text;
}

}  // namespace Pictavo
