#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <tuple>

#include "converter/Lengths.h"
#include "converter/ValueScanner.h"

using Pictavo::Axis;
using Pictavo::Length;
using Pictavo::Unit;
using Pictavo::ValueScanner;

namespace {

// What number() makes of the text: "value|rest", or "no|rest" when it reads none.
std::string numberRead(const char* text) {
    ValueScanner scanner(text);
    float value = 0;
    const bool read = scanner.number(value);
    char shown[64];
    std::snprintf(shown, sizeof shown, "%g", value);
    return (read ? std::string(shown) : "no") + "|" + std::string(scanner.rest());
}

// Text made of digits and what must never join a number wrongly.
std::string randomNumberText(std::mt19937_64& generator) {
    static const char* const pieces[] = {"-", "+", ".", "e", "E", "e-", "E+", "0x", "px", "%"};
    std::string text;
    for (auto parts = 1 + generator() % 6; parts > 0; --parts) {
        if (generator() % 3 == 0) text += pieces[generator() % std::size(pieces)];
        else
            for (auto digits = 1 + generator() % 24; digits > 0; --digits) text += char('0' + generator() % 10);
    }
    return text;
}

}  // namespace

// One sign, digits with at most one full stop that a digit follows, and an
// exponent only with digits: what stays behind is left for the next read.
TEST(ValueScanner, ReadsNumbersByOneSignRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"10-20", "10|-20"}, {"-.5.5", "-0.5|.5"}, {"+7", "7|"},    {"--5", "no|--5"},
        {"- 5", "no|- 5"},   {"1.", "1|."},       {".", "no|."},  {" 5", "no| 5"},
        {"1e3x", "1000|x"},  {"1em", "1|em"},     {"1e+", "1|e+"}, {"2E-2,", "0.02|,"},
        {"0x10", "0|x10"},   {"1e39", "inf|"},    {"-1e-50", "-0|"}, {"", "no|"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(numberRead(text), expected) << text;
}

// The float is the double strtod reads from the same characters, rounded:
// the output's digits depend on every bit.
TEST(ValueScanner, ConvertsAsStrtodDoes) {
    auto same = [](const std::string& text) {
        ValueScanner scanner(text);
        float value;
        if (!scanner.number(value)) return true;
        const std::string span = text.substr(0, text.size() - scanner.rest().size());
        const float expected = static_cast<float>(std::strtod(span.c_str(), nullptr));
        return std::memcmp(&value, &expected, sizeof value) == 0;
    };
    // Double rounding near the float range's ends, long digit runs, and
    // values beyond a double's range, which from_chars refuses.
    const char* const edges[] = {
        "9007199254740993", "-0", "3.4028235677973366e38", "1.4e-45", "7.0064923216240854e-46",
        "0.0000000000000000000000123", "123456789012345678901234567890e-30", "1e-400", "-1e400",
    };
    for (const char* text : edges) EXPECT_TRUE(same(text)) << text;
    std::mt19937_64 generator(20111001);
    for (int i = 0; i < 200000; ++i) {
        const std::string text = randomNumberText(generator);
        ASSERT_TRUE(same(text)) << text;
    }
}

// Flags are single digits; keywords are whole identifiers in any case.
TEST(ValueScanner, ReadsFlagsKeywordsAndSeparators) {
    ValueScanner scanner("10 ,\tNone-x none 2");
    bool first = false, second = true;
    EXPECT_TRUE(scanner.flag(first) && scanner.flag(second));
    EXPECT_TRUE(first && !second);
    EXPECT_TRUE(scanner.skipCommaAndSpace());
    EXPECT_FALSE(scanner.skipCommaAndSpace());
    EXPECT_FALSE(scanner.keyword("none")) << "None-x is one identifier";
    std::string_view word;
    EXPECT_TRUE(scanner.identifier(word));
    EXPECT_EQ(word, "None-x");
    scanner.skipSpace();
    EXPECT_TRUE(scanner.keyword("none"));
    EXPECT_FALSE(scanner.flag(first)) << "white space first";
    scanner.skipSpace();
    EXPECT_FALSE(scanner.flag(first)) << "2 is no flag";
    EXPECT_EQ(scanner.rest(), "2");
}

// 96 user units to the inch; em from the font size (20), ex half of it; per
// cent of the viewport's width (300), height (400) or sqrt((w² + h²) / 2).
TEST(Lengths, ResolveUnitsToUserUnits) {
    const Pictavo::LengthContext context{20, 300, 400};
    const Axis x = Axis::Horizontal, y = Axis::Vertical;
    const auto none = std::nullopt;
    const std::tuple<const char*, Axis, std::optional<float>> cases[] = {
        {" 12 ", x, 12}, {"3pt", y, 4}, {"1pc", y, 16}, {"2.54cm", y, 96}, {"25.4MM", y, 96}, {"0.5in", y, 48},
        {"101.6Q", y, 96}, {"2em", y, 40}, {"2ex", y, 20}, {"50%", x, 150}, {"50%", y, 200},
        {"10%", Axis::Diagonal, 35.3553391f}, {"-1e1px", x, -10}, {"12 px", x, none}, {"12km", x, none},
        {"45deg", x, none}, {"", x, none},
    };
    for (const auto& [text, axis, expected] : cases) {
        const std::optional<Length> length = Pictavo::readLength(text);
        ASSERT_EQ(length.has_value(), expected.has_value()) << text;
        if (length) {
            EXPECT_FLOAT_EQ(Pictavo::userUnits(*length, axis, context), *expected) << text;
        }
    }
}
