#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "presentation/Format.h"

using Orvane::Format;

namespace {

// Exact ties at the seventh decimal (multiples of 1/128, powers of two), the
// ends of the range, where the exact integer path hands over to the general
// one (2^43), and one step either side of each.
std::vector<float> difficultValues() {
    std::vector<float> values = {0.0f,      -0.0f,      FLT_TRUE_MIN, FLT_MIN,  FLT_MAX,
                                 -FLT_MAX,  0.0000005f, 1.0000005f,   2.5e-7f,  0.9999995f,
                                 999999.5f, 16777217.f, 0x1p43f,      0x1p44f,  1e20f};
    for (int k = -300; k <= 300; ++k) values.push_back(k / 128.0f);
    for (int shift = 1; shift <= 50; ++shift) values.push_back(std::ldexp(3.0f, -shift));
    for (std::size_t i = 0, exact = values.size(); i < exact; ++i) {
        values.push_back(std::nextafter(values[i], FLT_MAX));
        values.push_back(-std::nextafter(values[i], -FLT_MAX));
    }
    return values;
}

// Half anywhere in the format, half in the range drawings live in.
std::vector<float> randomValues(std::size_t count) {
    std::mt19937 generator(20111001);
    std::uniform_real_distribution<float> slideRange(-5000.0f, 5000.0f);
    std::vector<float> values;
    while (values.size() < count) {
        std::uint32_t bits = generator();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (values.size() % 2 == 0) value = slideRange(generator);
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

void expectSameAsPrintf(const std::vector<float>& values) {
    std::string text;
    for (float value : values) {
        Format::number(text, value);
        text += '\n';
    }
    std::istringstream lines(text);
    std::string line;
    for (float value : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_EQ(line, expected);
    }
    EXPECT_FALSE(std::getline(lines, line));
}

}  // namespace

TEST(FormatNumber, MatchesPrintfOnDifficultAndTwoMillionRandomValues) {
    expectSameAsPrintf(difficultValues());
    expectSameAsPrintf(randomValues(2000000));
}
