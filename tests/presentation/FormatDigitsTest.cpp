#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "presentation/Format.h"

using Orvane::Format;

namespace {

std::string printed(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

}  // namespace

// Whole parts below 100 take a short way, one or two digits from a table, and
// the sign is placed without a branch: the edges of both, and every whole
// part in reach of them, with fractions that round up into the next one.
TEST(FormatDigits, ShortWholePartsAndSignsMatchPrintf) {
    std::vector<float> values = {0.0f, -0.0f, 9.9999995f, 99.9999995f, 99.999999f, 100.0f,
                                 -9.9999995f, -99.9999995f, 0.0000005f, -0.0000005f};
    for (int whole = 0; whole <= 101; ++whole) {
        for (float fraction : {0.0f, 0.25f, 0.5f, 0.999999f, 0.9999996f}) {
            values.push_back(static_cast<float>(whole) + fraction);
            values.push_back(-(static_cast<float>(whole) + fraction));
        }
    }
    std::string expected, written;
    for (float value : values) {
        expected += printed(value) + " ";
        Format::number(written, value);
        written += " ";
    }
    EXPECT_EQ(written, expected);
}

// A list is written as its numbers separated by single spaces, in order.
TEST(FormatDigits, ListsAreSpaceSeparated) {
    std::string written = "x=";
    Format::numbers(written, {1.5f, -2.25f, 100.0f, 0.0000004f});
    EXPECT_EQ(written, "x=1.500000 -2.250000 100.000000 0.000000");
}
