#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include "converter/ElementValues.h"
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

// Numbers as drawings write them, mixed with what strtod must still read its
// own way: white space, signs, hexadecimal, words and units around them.
std::string randomNumberText(std::mt19937_64& generator) {
    static const char* const pieces[] = {" ", "\t", "-", "+", ".", "e", "E", "e-", "E+",
                                         "0x", "X", "p", "inf", "nan", "px", "%", ","};
    std::string text;
    const int parts = 1 + static_cast<int>(generator() % 6);
    for (int i = 0; i < parts; ++i) {
        if (generator() % 3 == 0) {
            text += pieces[generator() % std::size(pieces)];
        } else {
            const int digits = 1 + static_cast<int>(generator() % 20);
            for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + generator() % 10);
        }
    }
    return text;
}

}  // namespace

// An exponent belongs to the number written directly before it; a number
// holds at most one full stop. A run longer than the buffer is cut to fit it,
// and scanning goes on behind the whole run.
TEST(TokenScanner, CutsTextIntoRunsOfOneClass) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"10, (-20", "N10|O, (|S-|N20"}, {"+-.5", "S+-|N.5"},
        {"zm#ff0000", "Wzm|O#|Wff|N0000"}, {"fill:red;;x", "Wfill|D:|Wred|D;;|Wx"},
        {"\x80\xff_%", "O\x80\xff_%"}, {"1.5e-3", "N1.5e-3"}, {"1E+2x", "N1E+2|Wx"},
        {"1e2.5", "N1e2|N.5"}, {"1e-", "N1|We|S-"}, {".e5", "N.|We|N5"}, {"1.2.3", "N1.2|N.3"},
        {std::string(300, 'a') + "5", "W" + std::string(127, 'a') + "|N5"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(tokensOf(text.c_str()), tokens) << text;
}

// Every number the converter reads must be the one strtod reads, and end where
// strtod ends: the output's digits depend on every bit, and units or per cent
// signs are read behind the number.
TEST(NumberValue, ReadsWhatStrtodReads) {
    const char* const edges[] = {
        "", ".", "1.", "-.5", "-0", "+-1", "- 1", "  \n 7px", "1e+", "1.5.5", "-0X1p3", "-Infinity",
        "nan", "1e400", "-1e-400", "2.4703282292062328e-324", "1.7976931348623159e308",
        "9007199254740993", "123456789012345678901234567890",
    };
    // Bit for bit, so that a different rounding of the last place or a lost
    // sign of zero shows.
    auto same = [](const char* text) {
        const char* end = nullptr;
        char* expectedEnd = nullptr;
        const double read = Pictavo::numberValue(text, &end), expected = std::strtod(text, &expectedEnd);
        return std::memcmp(&read, &expected, sizeof read) == 0 && end == expectedEnd;
    };
    for (const char* text : edges) EXPECT_TRUE(same(text)) << '"' << text << '"';
    std::mt19937_64 generator(20111001);
    for (int i = 0; i < 300000; ++i) {
        const std::string text = randomNumberText(generator);
        ASSERT_TRUE(same(text.c_str())) << '"' << text << '"';
    }
}
