#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "presentation/Format.h"

namespace {

// Exact ties at the seventh decimal (multiples of 1/128, powers of two), the
// ends of the range, where the exact integer path hands over to the general
// one (2^43), every whole part below 100 (written from a table) with
// fractions that round up into the next one, and one step either side of
// each. Then random values, half anywhere in the format, half in the range
// drawings live in.
std::vector<float> valuesToCompare(std::size_t randomCount) {
    std::vector<float> values = {0.0f,       -0.0f,   FLT_TRUE_MIN, FLT_MIN,     FLT_MAX,   -FLT_MAX,
                                 0.0000005f, 2.5e-7f, 0.9999995f,   99.9999995f, 999999.5f, 16777217.f,
                                 0x1p43f,    0x1p44f, 1e20f};
    for (int k = -300; k <= 300; ++k) values.push_back(k / 128.0f);
    for (int shift = 1; shift <= 50; ++shift) values.push_back(std::ldexp(3.0f, -shift));
    for (int whole = 0; whole <= 101; ++whole)
        for (float fraction : {0.25f, 0.999999f, 0.9999996f})
            values.push_back(-(static_cast<float>(whole) + fraction));
    for (std::size_t i = 0, exact = values.size(); i < exact; ++i) {
        values.push_back(std::nextafter(values[i], FLT_MAX));
        values.push_back(-std::nextafter(values[i], -FLT_MAX));
    }
    std::mt19937 generator(20111001);
    std::uniform_real_distribution<float> slideRange(-5000.0f, 5000.0f);
    for (std::size_t i = 0; i < randomCount;) {
        std::uint32_t bits = generator();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (i % 2 == 0) value = slideRange(generator);
        if (!std::isfinite(value)) continue;
        values.push_back(value);
        ++i;
    }
    return values;
}

}  // namespace

// Each number is appended to what is there; the first difference is shown.
TEST(FormatNumber, MatchesPrintfOnDifficultAndTwoMillionRandomValues) {
    std::string written;
    for (float value : valuesToCompare(2000000)) {
        const std::size_t start = written.size();
        Orvane::Format::number(written, value);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        ASSERT_EQ(written.substr(start), expected);
    }
}
