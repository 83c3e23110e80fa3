#include "converter/CssSyntax.h"

#include <algorithm>

namespace Pictavo::Css {

namespace {

bool isLineBreak(char c) { return c == '\n' || c == '\r' || c == '\f'; }

// Letters, the low line and every byte of a non-ASCII character.
bool isNameStart(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return isLetterCharacter(c) || c == '_' || byte >= 0x80;
}

bool isNameCharacter(char c) { return isNameStart(c) || isDigitCharacter(c) || c == '-'; }

bool isValidEscape(std::string_view text, std::size_t position) {
    return position + 1 < text.size() && text[position] == '\\' && !isLineBreak(text[position + 1]);
}

bool startsComment(std::string_view text, std::size_t position) {
    return position + 1 < text.size() && text[position] == '/' && text[position + 1] == '*';
}

std::size_t commentEnd(std::string_view text, std::size_t position) {
    const std::size_t close = text.find("*/", position + 2);
    return close == std::string_view::npos ? text.size() : close + 2;
}

void appendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the valid escape whose backslash is at `position`: up to six hex
// digits and one white space after them, or else the one character escaped.
std::size_t readEscape(std::string_view text, std::size_t position, std::string& out) {
    std::size_t next = position + 1;
    if (hexadecimalValue(text[next]) < 0) {
        out += text[next];
        return next + 1;
    }
    char32_t code = 0;
    for (int digits = 0; digits < 6 && next < text.size() && hexadecimalValue(text[next]) >= 0; ++digits, ++next) {
        code = code * 16 + static_cast<char32_t>(hexadecimalValue(text[next]));
    }
    if (next < text.size() && isSpaceCharacter(text[next])) {
        const bool crlf = text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n';
        next += crlf ? 2 : 1;
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    appendUtf8(code == 0 || surrogate || code > 0x10FFFF ? U'\uFFFD' : code, out);
    return next;
}

// url( followed by anything but a quote is one token up to its ), in which
// comment openers, quotes and semicolons are text (data: URLs hold them).
bool startsUnquotedUrl(std::string_view text, std::size_t position) {
    if (position > 0 && isNameCharacter(text[position - 1])) return false;
    if (!equalsLowered(text.substr(position, 4), "url(")) return false;
    std::size_t next = position + 4;
    while (next < text.size() && isSpaceCharacter(text[next])) ++next;
    return next == text.size() || (text[next] != '"' && text[next] != '\'');
}

std::size_t unquotedUrlEnd(std::string_view text, std::size_t position) {
    for (std::size_t next = position + 4; next < text.size(); ++next) {
        if (text[next] == ')') return next + 1;
        if (text[next] == '\\') ++next;
    }
    return text.size();
}

char closerOf(char opener) {
    if (opener == '(') return ')';
    if (opener == '[') return ']';
    return '}';
}

}  // namespace

std::size_t skipComments(std::string_view text, std::size_t position) {
    while (startsComment(text, position)) position = commentEnd(text, position);
    return position;
}

std::size_t skipWhitespaceAndComments(std::string_view text, std::size_t position, bool* sawWhitespace) {
    while (position < text.size()) {
        if (isSpaceCharacter(text[position])) {
            if (sawWhitespace) *sawWhitespace = true;
            ++position;
        } else if (startsComment(text, position)) {
            position = commentEnd(text, position);
        } else {
            break;
        }
    }
    return position;
}

bool startsIdentifier(std::string_view text, std::size_t position) {
    if (position >= text.size()) return false;
    if (text[position] == '-') {
        const std::size_t next = position + 1;
        return next < text.size() &&
               (isNameStart(text[next]) || text[next] == '-' || isValidEscape(text, next));
    }
    return isNameStart(text[position]) || isValidEscape(text, position);
}

bool readIdentifier(std::string_view text, std::size_t& position, std::string& name) {
    if (!startsIdentifier(text, position)) return false;
    name.clear();
    while (position < text.size()) {
        if (isNameCharacter(text[position])) {
            name += text[position++];
        } else if (isValidEscape(text, position)) {
            position = readEscape(text, position, name);
        } else {
            break;
        }
    }
    return true;
}

StringEnd readString(std::string_view text, std::size_t position, std::string* value) {
    const char quote = text[position];
    std::size_t next = position + 1;
    while (next < text.size()) {
        const char c = text[next];
        if (c == quote) return {next + 1, false};
        if (isLineBreak(c)) return {next, true};
        if (c != '\\') {
            if (value) *value += c;
            ++next;
        } else if (next + 1 == text.size()) {
            ++next;
        } else if (isLineBreak(text[next + 1])) {
            // An escaped line break continues the string and is no part of it.
            const bool crlf = text[next + 1] == '\r' && next + 2 < text.size() && text[next + 2] == '\n';
            next += crlf ? 3 : 2;
        } else if (value) {
            next = readEscape(text, next, *value);
        } else {
            next += 2;
        }
    }
    return {next, false};
}

std::size_t componentEnd(std::string_view text, std::size_t position) {
    const char c = text[position];
    if (startsComment(text, position)) return commentEnd(text, position);
    if (c == '"' || c == '\'') return readString(text, position).end;
    if (c == '\\') return std::min(position + 2, text.size());
    if ((c == 'u' || c == 'U') && startsUnquotedUrl(text, position))
        return unquotedUrlEnd(text, position);
    return position + 1;
}

std::size_t runEnd(std::string_view text, std::size_t position, std::string_view stops) {
    // The closers awaited, innermost last; a short string holds the usual few
    // without allocating, and a deep hostile nesting costs memory, not stack.
    std::string awaited;
    while (position < text.size()) {
        const char c = text[position];
        if (awaited.empty() && stops.find(c) != std::string_view::npos) return position;
        if (c == '(' || c == '[' || c == '{') {
            awaited += closerOf(c);
        } else if (!awaited.empty() && c == awaited.back()) {
            awaited.pop_back();
        }
        position = componentEnd(text, position);
    }
    return position;
}

std::string withoutComments(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const std::size_t end = componentEnd(text, position);
        if (startsComment(text, position)) {
            result += ' ';
        } else {
            result.append(text, position, end - position);
        }
        position = end;
    }
    return result;
}

}  // namespace Pictavo::Css
