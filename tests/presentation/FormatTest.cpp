#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "presentation/Format.h"
#include "presentation/Written.h"

using Orvane::Format;

namespace {

float fromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Values where "%f" is hardest to match: exact ties at the seventh decimal
// (multiples of 1/128 and 1/2^k), values a step away from them, the ends of
// the float range, and integers too large for a float to hold exactly.
std::vector<float> difficultValues() {
    std::vector<float> values = {0.0f,       -0.0f,      FLT_MIN,    -FLT_MIN,    FLT_TRUE_MIN,
                                 -FLT_TRUE_MIN, FLT_MAX, -FLT_MAX,   0.0000005f,  -0.0000005f,
                                 1.0000005f, 2.5e-7f,    4.9999e-7f, 5.0001e-7f,  0.9999995f,
                                 999999.5f,  16777216.f, 16777217.f, 2147483648.f, 1e20f,
                                 1e38f,      0.1f,       0.5f,       100.f,       -2.25f};
    for (int k = -300; k <= 300; ++k) values.push_back(k / 128.0f);
    for (int shift = 1; shift <= 40; ++shift) {
        values.push_back(std::ldexp(1.0f, -shift));
        values.push_back(std::ldexp(3.0f, -shift));
    }
    const std::size_t exact = values.size();
    for (std::size_t i = 0; i < exact; ++i) {
        values.push_back(std::nextafter(values[i], FLT_MAX));
        values.push_back(std::nextafter(values[i], -FLT_MAX));
    }
    return values;
}

std::vector<float> randomValues(std::size_t count) {
    std::mt19937 generator(20111001);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> slideRange(-5000.0f, 5000.0f);
    std::vector<float> values;
    values.reserve(count);
    while (values.size() < count) {
        // Half anywhere in the format, half in the range drawings live in.
        float value = values.size() % 2 ? fromBits(bits(generator)) : slideRange(generator);
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

std::string printed(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    return buffer;
}

void expectSameAsPrintf(const std::vector<float>& values) {
    std::string ours = written([&](FILE* file) {
        for (float value : values) {
            Format::number(file, value);
            std::fputc('\n', file);
        }
    });
    std::size_t lineStart = 0;
    for (float value : values) {
        std::size_t lineEnd = ours.find('\n', lineStart);
        ASSERT_NE(lineEnd, std::string::npos);
        std::string expected = printed(value);
        ASSERT_EQ(ours.compare(lineStart, lineEnd - lineStart, expected), 0)
            << "value " << expected << " written as "
            << ours.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
    }
    EXPECT_EQ(lineStart, ours.size());
}

}  // namespace

TEST(FormatNumber, MatchesPrintfOnDifficultValues) { expectSameAsPrintf(difficultValues()); }

TEST(FormatNumber, MatchesPrintfOnTwoMillionRandomValues) {
    expectSameAsPrintf(randomValues(2000000));
}

TEST(FormatNumber, SeparatesListsBySingleSpaces) {
    EXPECT_EQ(written([](FILE* f) { Format::numbers(f, {1, -0.5f, 100}); }),
              "1.000000 -0.500000 100.000000");
    EXPECT_EQ(written([](FILE* f) { Format::numbers(f, {}); }), "");
}

TEST(FormatNumber, TellsWhichValuesCanBeWritten) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::initializer_list<float> values;
        bool writable;
    } cases[] = {
        {{}, true},          {{0, -FLT_MAX, FLT_MAX, FLT_TRUE_MIN}, true},
        {{1, nan}, false},   {{inf, 1}, false},
        {{-inf}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(Format::writable(c.values), c.writable);
}

TEST(FormatInteger, WritesLikePercentD) {
    for (int value : {0, 7, -1, 1024, INT_MAX, INT_MIN}) {
        EXPECT_EQ(written([&](FILE* f) { Format::integer(f, value); }), std::to_string(value));
    }
}

TEST(FormatAttribute, EscapesMarkupCharacters) {
    struct Case {
        const char* input;
        const char* output;
    } cases[] = {
        {"", ""},
        {"5,3", "5,3"},
        {"Gill Sans", "Gill Sans"},
        {"a&b", "a&amp;b"},
        {"<tag>", "&lt;tag&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"&&", "&amp;&amp;"},
        {"&amp;", "&amp;amp;"},
        {"it's", "it's"},
        {"caf\xc3\xa9", "caf\xc3\xa9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written([&](FILE* f) { Format::attribute(f, c.input); }), c.output) << c.input;
    }
}

TEST(FormatCharacterData, SplitsSectionTerminators) {
    struct Case {
        const char* input;
        const char* output;
    } cases[] = {
        {"", "<![CDATA[]]>"},
        {"Hello", "<![CDATA[Hello]]>"},
        {"a < b & c\nd", "<![CDATA[a < b & c\nd]]>"},
        {"]]", "<![CDATA[]]]]>"},
        {"]>", "<![CDATA[]>]]>"},
        {"a]]>b", "<![CDATA[a]]]]><![CDATA[>b]]>"},
        {"]]>", "<![CDATA[]]]]><![CDATA[>]]>"},
        {"]]>]]>", "<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>"},
        {"]]]>", "<![CDATA[]]]]]><![CDATA[>]]>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written([&](FILE* f) { Format::characterData(f, c.input); }), c.output)
            << c.input;
    }
}

TEST(FormatCharacterData, ReaderJoinsSectionsBackToTheText) {
    for (std::string text : {"x]]>y]]>", "]]>>>]]]>", "[[]]]]>>"}) {
        std::string out = written([&](FILE* f) { Format::characterData(f, text); });
        std::string joined;
        const std::string open = "<![CDATA[", close = "]]>";
        std::size_t at = 0;
        while (at < out.size()) {
            ASSERT_EQ(out.compare(at, open.size(), open), 0) << out;
            std::size_t end = out.find(close, at + open.size());
            ASSERT_NE(end, std::string::npos) << out;
            joined += out.substr(at + open.size(), end - at - open.size());
            at = end + close.size();
        }
        EXPECT_EQ(joined, text);
    }
}
