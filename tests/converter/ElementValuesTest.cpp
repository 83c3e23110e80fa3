#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "converter/ElementValues.h"

namespace {

// Bit for bit, so that a different rounding of the last place or a lost
// sign of zero shows.
bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Numbers as drawings write them, mixed with what atof must still read its
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

// Every number the converter reads must be the one atof reads: the output's
// digits depend on every bit.
TEST(NumberValue, ReadsWhatAtofReads) {
    const char* const edges[] = {
        "", ".", "1.", ".5", "-.5", "+.5", "-0", "+-1", "--1", "- 1", "  \n 7px", "1e", "1e+",
        "1.5.5", "0x1A", "-0X1p3", "0x", "inf", "-Infinity", "nan", "1e400", "-1e400", "1e-400",
        "4.9e-324", "2.4703282292062327e-324", "2.4703282292062328e-324",
        "1.7976931348623157e308", "1.7976931348623159e308", "9007199254740993",
        "0.30000000000000004", "123456789012345678901234567890", "3.4028235677973366e38",
        "0.00000000000000000000000000000000000000000000001401298464324817",
    };
    for (const char* text : edges)
        EXPECT_TRUE(sameDouble(Pictavo::numberValue(text), std::atof(text))) << '"' << text << '"';

    std::mt19937_64 generator(20111001);
    for (int i = 0; i < 300000; ++i) {
        const std::string text = randomNumberText(generator);
        ASSERT_TRUE(sameDouble(Pictavo::numberValue(text.c_str()), std::atof(text.c_str())))
            << '"' << text << '"';
    }
}
