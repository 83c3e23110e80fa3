#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "converter/ElementValues.h"

namespace {

// Bit for bit, so that a different rounding of the last place shows.
bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Digits with at most one full stop and an optional exponent: the texts the
// token scanner hands over as numbers.
std::string randomNumberToken(std::mt19937_64& generator) {
    std::string token;
    const int digits = 1 + static_cast<int>(generator() % 24);
    bool fullStop = false;
    for (int i = 0; i < digits; ++i) {
        if (!fullStop && generator() % 6 == 0) {
            token += '.';
            fullStop = true;
        }
        token += static_cast<char>('0' + generator() % 10);
    }
    if (generator() % 3 == 0) {
        static const char* const exponents[] = {"e", "E", "e-", "E+"};
        token += exponents[generator() % 4] + std::to_string(generator() % 330);
    }
    return token;
}

}  // namespace

// Number tokens must read exactly as atof reads them: the output's digits
// depend on every bit.
TEST(NumberTokenValue, ReadsAsAtofDoes) {
    const char* const edges[] = {
        ".", "1.", ".5", "0", "00.000", "1e400", "1e-400", "4.9e-324", "2.4703282292062327e-324",
        "2.4703282292062328e-324", "1.7976931348623157e308", "1.7976931348623159e308",
        "9007199254740993", "0.30000000000000004", "123456789012345678901234567890",
        "0.00000000000000000000000000000000000000000000001401298464324817", "3.4028235677973366e38",
    };
    for (const char* token : edges)
        EXPECT_TRUE(sameDouble(Pictavo::numberTokenValue(token), std::atof(token))) << token;

    std::mt19937_64 generator(20111001);
    for (int i = 0; i < 200000; ++i) {
        const std::string token = randomNumberToken(generator);
        ASSERT_TRUE(sameDouble(Pictavo::numberTokenValue(token.c_str()), std::atof(token.c_str())))
            << token;
    }
}
