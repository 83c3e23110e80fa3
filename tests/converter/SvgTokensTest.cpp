#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace {

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
