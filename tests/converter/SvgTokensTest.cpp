#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "converter/Svg.h"

using Pictavo::SVG;

namespace {

// The tokens of a text as class letter and text, separated by bars: W word,
// N number, S sign, D delimiter, O other.
std::string tokensOf(const char* text) {
    std::string tokens;
    char token[128];
    SVG::TokenType type;
    const char* position = text;
    while (std::size_t length = SVG::tokenParser(position, token, &position, type)) {
        EXPECT_EQ(std::strlen(token), length);
        tokens += std::string(tokens.empty() ? "" : "|") + "WNSDO"[static_cast<int>(type)] + token;
    }
    EXPECT_EQ(type, SVG::TokenType::End);
    return tokens;
}

}  // namespace

// An exponent belongs to the number written directly before it; a number
// holds at most one full stop.
TEST(TokenScanner, CutsTextIntoRunsOfOneClass) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"-12.5", "S-|N12.5"}, {"10 -20", "N10|O |S-|N20"}, {"+-.5", "S+-|N.5"},
        {"10, (20", "N10|O, (|N20"}, {"zm#ff0000", "Wzm|O#|Wff|N0000"},
        {"fill:red;;x", "Wfill|D:|Wred|D;;|Wx"}, {"\x80\xff_%", "O\x80\xff_%"},
        {"1.5e-3", "N1.5e-3"}, {"1E+2x", "N1E+2|Wx"}, {"1e2.5", "N1e2|N.5"}, {"1.e5", "N1.e5"},
        {"1e", "N1|We"}, {"1e-", "N1|We|S-"}, {".e5", "N.|We|N5"}, {"1.2.3", "N1.2|N.3"},
        {"..5", "N.|N.5"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(tokensOf(text), tokens) << text;
}

TEST(TokenScanner, EndLeavesTokenAndPositionAloneAndLongRunsAreCut) {
    char token[16] = "keep";
    const char* next = "unchanged";
    SVG::TokenType type = SVG::TokenType::Word;
    EXPECT_EQ(SVG::tokenParser("", token, &next, type), 0u);
    EXPECT_EQ(type, SVG::TokenType::End);
    EXPECT_STREQ(token, "keep");
    EXPECT_STREQ(next, "unchanged");

    const std::string text = std::string(300, 'a') + "5";
    EXPECT_EQ(SVG::tokenParser(text.c_str(), token, &next, type), 15u);
    EXPECT_EQ(std::string(token), std::string(15, 'a'));
    EXPECT_STREQ(next, "5");
}

// The result points at the first character kept; a NUL goes behind the last.
TEST(Trim, CutsWhiteSpaceOffBothEndsInPlace) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"  a b \t\n\v\f\r", "a b", 2}, {"a b", "a b", 0}, {" \t\n\v\f\r", "", 6}};
    for (const auto& [text, trimmed, offset] : cases) {
        std::string buffer = text;
        EXPECT_EQ(SVG::trim(buffer.data()), buffer.data() + offset) << text;
        EXPECT_STREQ(buffer.data() + offset, trimmed) << text;
    }
}
