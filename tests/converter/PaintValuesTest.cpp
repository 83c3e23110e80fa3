#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "converter/Colors.h"
#include "converter/PaintValues.h"

namespace {

// A colour as "r g b a" with components scaled to 0..255 and rounded to three
// decimals (exact: as stored, to nine), "current" for currentColor, "-" for no colour.
std::string shown(const std::optional<Pictavo::ColorValue>& color, bool exact = false) {
    if (!color) return "-";
    if (color->current) return "current";
    char text[96];
    const Pictavo::Rgba& c = color->rgba;
    const float scale = exact ? 1 : 255;
    std::snprintf(text, sizeof text, exact ? "%.9g %.9g %.9g %.9g" : "%.3g %.3g %.3g %.3g", c.r * scale,
                  c.g * scale, c.b * scale, c.a);
    return text;
}

}  // namespace

TEST(Colors, ReadEveryNotation) {
    const std::pair<const char*, const char*> cases[] = {
        {"red", "255 0 0 1"}, {" DarkSlateGray ", "47 79 79 1"}, {"rebeccapurple", "102 51 153 1"},
        {"#abc", "170 187 204 1"}, {"#ABCD", "170 187 204 0.867"}, {"#FF800080", "255 128 0 0.502"},
        {"transparent", "0 0 0 0"}, {"currentColor", "current"}, {"RGBA(100%,50%,0%,0.5)", "255 128 0 0.5"},
        {"rgb(255 128 0 / 50%)", "255 128 0 0.5"}, {"rgb( 300 -5 50% )", "255 0 128 1"},
        {"rgba(0,0,0,2)", "0 0 0 1"}, {"hsl(120, 100%, 50%)", "0 255 0 1"},
        {"hsla(0.5turn 100% 25% / 0.25)", "0 128 128 0.25"}, {"hsl(-120deg, 100%, 50%)", "0 0 255 1"},
        {"hsl(3.14159265rad 100 50)", "0 255 255 1"}, {"hsl(200grad, 100%, 50%)", "0 255 255 1"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(shown(Pictavo::readColor(text)), expected) << text;
}

// Each component the float nearest to the value / 255, to nine digits; every
// gray spelling has a grey twin of the same value.
TEST(Colors, KeywordTableHoldsTheCssValues) {
    auto exact = [](const char* name) { return shown(Pictavo::readColor(name), true); };
    EXPECT_EQ(exact("darkgoldenrod"), "0.721568644 0.525490224 0.0431372561 1");
    EXPECT_EQ(exact("fuscia"), exact("fuchsia"));
    for (const char* gray : {"gray", "darkgray", "darkslategray", "dimgray", "lightgray",
                             "lightslategray", "slategray"}) {
        std::string grey(gray);
        grey.replace(grey.find("gray"), 4, "grey");
        EXPECT_NE(exact(gray), "-") << gray;
        EXPECT_EQ(exact(gray), exact(grey.c_str())) << gray;
    }
}

// Near misses are no colour at all, never black.
TEST(Colors, RefuseTheirNeighbours) {
    const char* const cases[] = {
        "", "#ab", "#abcde", "#ff00zz", "# fff", "reddish", "red blue", "none", "rgb(255, 0)",
        "rgb(255 0 0 0)", "rgb(255, 50%, 0)", "rgb(255, 0 0)", "rgb(1px 0 0)", "rgb(0,0,0", "rgb (0,0,0)",
        "rgb(0 0 0 / 1deg)", "hsl(120, 100, 50)", "hsl(10%, 5%, 5%)", "hsl(1px 5% 5%)", "currentColor2",
        "url(#a)",
    };
    for (const char* text : cases) EXPECT_EQ(shown(Pictavo::readColor(text)), "-") << text;
}

// What a paint holds as "type id | fallback", each part as it applies.
TEST(Paints, ReadNoneColoursAndReferences) {
    auto paintOf = [](const char* text) -> std::string {
        const std::optional<Pictavo::Paint> paint = Pictavo::readPaint(text);
        if (!paint) return "invalid";
        if (paint->type == Pictavo::Paint::None) return "none";
        if (paint->type == Pictavo::Paint::Color) return shown(paint->color);
        std::string text2 = "url " + std::string(paint->id);
        if (paint->fallbackNone) return text2 + " | none";
        return paint->hasFallback ? text2 + " | " + shown(paint->fallback) : text2;
    };
    const std::pair<const char*, const char*> cases[] = {
        {" none ", "none"}, {"#0f0", "0 255 0 1"}, {"currentcolor", "current"}, {"url(#a)", "url a"},
        {"url( '#b c' )", "url b c"}, {"url(\"#g\") red", "url g | 255 0 0 1"},
        {"url(#a) none", "url a | none"}, {"url(other.svg#a)", "url "}, {"url(#a) reddish", "invalid"},
        {"url(#a", "invalid"}, {"none red", "invalid"}, {"blak", "invalid"}, {"", "invalid"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(paintOf(text), expected) << text;
}

// Lengths resolve against font size 10 and a 300 by 400 viewport, whose
// normalised diagonal is 353.55.
TEST(Paints, DashArraysInUserUnits) {
    const Pictavo::LengthContext context{10, 300, 400};
    const std::pair<const char*, std::vector<float>> cases[] = {
        {" 5 , 3\t2 ", {5, 3, 2, 5, 3, 2}}, {"1em 2pt", {10, 2.6666667f}},
        {"10%", {35.3553391f, 35.3553391f}}, {"0 4", {0, 4}}, {"none", {}}, {"5 -1", {}}, {"0 0", {}},
        {"5 x", {}}, {"5deg", {}}, {"5,,3", {}}, {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Pictavo::readDashArray(text, Pictavo::Axis::Diagonal, context), expected) << text;
    }
}

TEST(Paints, OpacitiesClampToOne) {
    const std::pair<const char*, std::optional<float>> cases[] = {
        {"0.5", 0.5f},           {" 50% ", 0.5f},        {"2", 1.0f},        {"-1", 0.0f},
        {"0.5px", std::nullopt}, {"half", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Pictavo::readOpacity(text), expected) << text;
}
