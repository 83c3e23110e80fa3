#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "converter/Svg.h"
#include "presentation/Keynote.h"

namespace {

using Orvane::Path;

// Exact colour, "none" when the rule gives no colour. The expected digits are
// nine significant ones, enough to tell neighbouring floats apart.
std::string colorOf(bool painted, const Path::Color& color) {
    if (!painted) return "none";
    const float(*c)[4] = color.color;
    char text[160];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g | %d %g %g %g %g %g", c[0][0], c[0][1],
                  c[0][2], c[0][3], color.gradient, c[1][0], c[1][1], c[1][2], c[1][3], color.angle);
    return text;
}

// The strokes, then the fills, of a path, one short line each.
std::string paintOf(const Path& path) {
    std::string text;
    char line[1200];
    for (const Path::Stroke& s : path.strokes) {
        const float* c = s.color.color[0];
        std::snprintf(line, sizeof line, "stroke %g %g %g %g w%g %s;", c[0], c[1], c[2], c[3],
                      s.width, s.solid ? "solid" : s.pattern.c_str());
        text += line;
    }
    for (const Path::Fill& f : path.fills) {
        const float* c = f.color.color[0];
        std::snprintf(line, sizeof line, "fill %g %g %g %g;", c[0], c[1], c[2], c[3]);
        text += line;
    }
    return text;
}

class Paint : public testing::Test {
protected:
    Orvane::Keynote keynote{(testing::TempDir() + "paint.key").c_str(), 800, 600};
    Pictavo::SVG svg{keynote};

    void paint(Path& path, const char* style, float sizeScale = 1) {
        Pictavo::Declarations declarations = svg.parseStyle(style);
        svg.convertStyle(&path, declarations.map, sizeScale);
    }
};

TEST_F(Paint, ColourValueRule) {
    const std::string black = "0 0 0 1 | 0 0 0 0 1 0", red = "1 0 0 1 | 0 0 0 0 1 0",
                      green = "0 1 0 1 | 0 0 0 0 1 0";
    const std::string longWord(100000, 'a'), longHex = "#" + std::string(5000, 'f'),
                      paddedRed = "red" + std::string(10000, ' ');
    const std::map<std::string, std::string> cases = {
        {"#FF8000", "1 0.501960814 0 1 | 0 0 0 0 1 0"},
        {"#0a141e", "0.0392156877 0.0784313753 0.117647059 1 | 0 0 0 0 1 0"},
        {"#ff00zz", green}, {"#f0z", green},  // the digits before the first non-digit count
        {"#f00", red}, {"#F0A", "1 0 0.666666687 1 | 0 0 0 0 1 0"},
        {" red ", red}, {"\tRed\n", red}, {" #00FF00 ", green}, {paddedRed, red},
        {"CornflowerBlue", "0.392156869 0.58431375 0.929411769 1 | 0 0 0 0 1 0"},
        {"none", "none"}, {" NONE\t", "none"},
        {"rgb(255,0,0)", black}, {"inherit", black}, {"transparent", black}, {"#ff000", black},
        {"#ff00000", black}, {"#", black}, {"", black}, {"re d", black}, {longWord, black},
        {longHex, black},
    };
    for (const auto& [value, expected] : cases) {
        Path::Color color;
        color.color[0][0] = 0.25f;  // a leftover the rule must overwrite
        bool painted = svg.colorValue(value.c_str(), color);
        EXPECT_EQ(colorOf(painted, color), expected) << value.substr(0, 20);
    }
}

TEST_F(Paint, StyleTextIsCutIntoDeclarations) {
    const std::string longValue(5000, 'x'), withLongValue = "fill:" + longValue;
    const std::map<std::string, std::map<std::string, std::string>> cases = {
        {"fill:red;stroke:blue", {{"fill", "red"}, {"stroke", "blue"}}},
        {" fill : red ; ", {{"fill", "red"}, {"", ""}}},
        {"", {{"", ""}}},
        {"fill:red;fill:blue", {{"fill", "blue"}}},
        {"font-family:a:b", {{"font-family", "b"}}},
        {"fill:red;;stroke:blue", {{"fill", "red"}, {"stroke", "blue"}}},
        {"fill:red;stroke", {{"fill", "red"}, {"stroke", ""}}},
        {"Fill:Red", {{"Fill", "Red"}}},
        {"font-family:'Gill Sans', sans-serif", {{"font-family", "'Gill Sans', sans-serif"}}},
        {"stroke-width:-1.5e-3px", {{"stroke-width", "-1.5e-3px"}}},
        {withLongValue, {{"fill", longValue}}},
    };
    for (const auto& [style, expected] : cases) {
        std::map<std::string, std::string> found;
        for (const auto& [name, value] : svg.parseStyle(style.c_str()).map) found[name] = value;
        EXPECT_EQ(found, expected) << style.substr(0, 40);
    }
}

TEST_F(Paint, ManyDeclarationsAllKeepTheirValues) {
    std::string style;
    for (int i = 0; i < 1000; ++i) style += "p" + std::to_string(i) + ":v" + std::to_string(i) + ";";
    Pictavo::Declarations declarations = svg.parseStyle(style.c_str());
    ASSERT_EQ(declarations.map.size(), 1001u);  // the last semicolon leaves an empty one
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(std::string(declarations.map["p" + std::to_string(i)]), "v" + std::to_string(i));
}

TEST_F(Paint, StylePaintsStrokesAndFills) {
    const struct {
        const char* style;
        float sizeScale;
        const char* paint;
    } cases[] = {
        {"fill:red;stroke:blue;stroke-width:3", 1, "stroke 0 0 1 1 w3 solid;fill 1 0 0 1;"},
        {"fill:red;fill:blue", 1, "fill 0 0 1 1;"},
        {"Fill:red", 1, ""},
        {"stroke-width:4", 1, ""},
        {"", 1, ""},
        {"fill:none;stroke:#000", 1, "stroke 0 0 0 1 w1 solid;"},
        {"stroke:none;stroke-width:3;stroke-dasharray:5", 1, ""},
        {"stroke:blue;stroke-width:2.5px", 1, "stroke 0 0 1 1 w2.5 solid;"},
        {"stroke:blue;stroke-width:wide", 1, "stroke 0 0 1 1 w0 solid;"},
        {"stroke:blue;stroke-width:-2", 1, "stroke 0 0 1 1 w-2 solid;"},
        {"stroke:blue", 20, "stroke 0 0 1 1 w20 solid;"},
        {"stroke:blue;stroke-width:0.5", 3, "stroke 0 0 1 1 w1.5 solid;"},
        {"stroke:red;stroke-dasharray:5, 3", 1, "stroke 1 0 0 1 w1 5, 3;"},
        {"stroke:red;stroke-dasharray:10 None", 1, "stroke 1 0 0 1 w1 10 None;"},
        {"stroke:red;stroke-dasharray: none ", 1, "stroke 1 0 0 1 w1 solid;"},
        {"fill:red;opacity:0.5;stroke:blue", 1, "stroke 0 0 1 0.5 w1 solid;fill 1 0 0 0.5;"},
    };
    for (const auto& c : cases) {
        Path path;
        paint(path, c.style, c.sizeScale);
        EXPECT_EQ(paintOf(path), c.paint) << c.style;
    }
}

TEST_F(Paint, OpacityReplacesTheAlphaOfEveryPaint) {
    const std::map<std::string, const char*> cases = {
        {"0.5", "0.5"}, {"50%", "0.5"}, {" .25", "0.25"}, {"1e-1", "0.1"}, {"0", "0"},
        {"150%", "1"},  {"2", "1"},     {"-0.3", "0"},    {"-20%", "0"},   {"abc", "0.8"},
        {"", "0.8"},    {"nan", "0.8"}, {"%50", "0.8"},
    };
    for (const auto& [opacity, alpha] : cases) {
        Path path;
        paint(path, "stroke:red;fill:blue;opacity:0.8");
        Pictavo::AttributeMap attributes{{"opacity", opacity.c_str()}};
        svg.convertOtherAttributes(&path, attributes);
        EXPECT_EQ(paintOf(path), std::string("stroke 1 0 0 ") + alpha + " w1 solid;fill 0 0 1 " +
                                     alpha + ";")
            << opacity;
    }
}

TEST_F(Paint, AttributesPaintLikeDeclarations) {
    Path path;
    Pictavo::AttributeMap attributes{{"fill", " Blue "}, {"stroke", "#F00"},
                                     {"stroke-width", "4"}, {"stroke-dasharray", "2,1"}};
    svg.convertStroke(&path, attributes, 0.5f);
    svg.convertFill(&path, attributes);
    // A map without the keys adds nothing rather than reading a missing value.
    Pictavo::AttributeMap empty;
    svg.convertStroke(&path, empty, 1);
    svg.convertFill(&path, empty);
    EXPECT_EQ(paintOf(path), "stroke 1 0 0 1 w2 2,1;fill 0 0 1 1;");
}

}  // namespace
