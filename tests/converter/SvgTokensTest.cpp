#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "converter/Svg.h"

using Pictavo::SVG;
using Token = std::pair<std::string, SVG::TokenType>;

static std::vector<Token> tokensOf(const char* text) {
    std::vector<Token> tokens;
    char token[128];
    SVG::TokenType type;
    const char* position = text;
    while (SVG::tokenParser(position, token, &position, type) > 0) tokens.emplace_back(token, type);
    EXPECT_EQ(type, SVG::TokenType::End);
    return tokens;
}

TEST(TokenScanner, CutsTextIntoRunsOfOneClass) {
    const auto W = SVG::TokenType::Word, N = SVG::TokenType::Number, S = SVG::TokenType::Sign,
               D = SVG::TokenType::Delimiter, O = SVG::TokenType::Other;
    struct Case {
        const char* text;
        std::vector<Token> tokens;
    } cases[] = {
        {"", {}},
        {"-12.5", {{"-", S}, {"12.5", N}}},
        {"10-20", {{"10", N}, {"-", S}, {"20", N}}},
        {"10 -20", {{"10", N}, {" ", O}, {"-", S}, {"20", N}}},
        {".5", {{".5", N}}},
        {"+-5", {{"+-", S}, {"5", N}}},
        {"10, (20", {{"10", N}, {", (", O}, {"20", N}}},
        {"M10,20L30", {{"M", W}, {"10", N}, {",", O}, {"20", N}, {"L", W}, {"30", N}}},
        {"zm", {{"zm", W}}},
        {"#ff0000", {{"#", O}, {"ff", W}, {"0000", N}}},
        {"fill:red;stroke:blue",
         {{"fill", W}, {":", D}, {"red", W}, {";", D}, {"stroke", W}, {":", D}, {"blue", W}}},
        {"\x80\xff", {{"\x80\xff", O}}},
        // Exponents belong to the number written directly before them.
        {"1.5e-3", {{"1.5e-3", N}}},
        {"1E+2x", {{"1E+2", N}, {"x", W}}},
        {"1e2.5", {{"1e2", N}, {".5", N}}},
        {"1e", {{"1", N}, {"e", W}}},
        {"1e-", {{"1", N}, {"e", W}, {"-", S}}},
        {".e5", {{".", N}, {"e", W}, {"5", N}}},
        {"1.e5", {{"1.e5", N}}},
        // A number holds at most one full stop.
        {"1.2.3", {{"1.2", N}, {".3", N}}},
        {"..5", {{".", N}, {".5", N}}},
    };
    for (const Case& c : cases) EXPECT_EQ(tokensOf(c.text), c.tokens) << c.text;
}

TEST(TokenScanner, EndLeavesTokenAndPositionAlone) {
    char token[8] = "keep";
    const char* text = "";
    const char* next = "unchanged";
    SVG::TokenType type = SVG::TokenType::Word;
    EXPECT_EQ(SVG::tokenParser(text, token, &next, type), 0u);
    EXPECT_EQ(type, SVG::TokenType::End);
    EXPECT_STREQ(token, "keep");
    EXPECT_STREQ(next, "unchanged");
}

TEST(TokenScanner, CutsLongRunsToTheBufferAndSkipsTheRest) {
    std::string text = std::string(300, 'a') + "5";
    char token[16];
    const char* next = nullptr;
    SVG::TokenType type;
    EXPECT_EQ(SVG::tokenParser(text.c_str(), token, &next, type), 15u);
    EXPECT_EQ(std::string(token), std::string(15, 'a'));
    EXPECT_EQ(type, SVG::TokenType::Word);
    EXPECT_STREQ(next, "5");
}

TEST(Trim, CutsWhiteSpaceOffBothEnds) {
    struct Case {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"  abc  ", "abc"}, {"abc", "abc"}, {" \t\n\v\f\r", ""}, {"", ""}, {" a b ", "a b"},
    };
    for (const Case& c : cases) {
        std::string buffer = c.text;
        EXPECT_STREQ(SVG::trim(buffer.data()), c.trimmed) << '"' << c.text << '"';
    }
}

TEST(Trim, LeavesLeadingSpaceInTheBuffer) {
    char buffer[] = "  abc  ";
    char* trimmed = SVG::trim(buffer);
    EXPECT_EQ(trimmed, buffer + 2);
    EXPECT_EQ(std::string(buffer, 6), std::string("  abc\0", 6));
}
