#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "converter/ConvertedDrawing.h"

namespace {

using Orvane::Path;
using Paint = converted::Converter;

// The strokes, then the fills, of a path, one short entry each.
std::string paintOf(const Path& path) {
    std::string text;
    char entry[1200];
    for (const Path::Stroke& s : path.strokes) {
        const float* c = s.color.color[0];
        std::snprintf(entry, sizeof entry, "stroke %g %g %g %g w%g %s;", c[0], c[1], c[2], c[3],
                      s.width, s.solid ? "solid" : s.pattern.c_str());
        text += entry;
    }
    for (const Path::Fill& f : path.fills) {
        const float* c = f.color.color[0];
        std::snprintf(entry, sizeof entry, "fill %g %g %g %g;", c[0], c[1], c[2], c[3]);
        text += entry;
    }
    return text;
}

}  // namespace

// Exact colours to nine significant digits, enough to tell neighbouring floats
// apart; "none" when the rule gives no colour. The whole colour is replaced.
TEST_F(Paint, ColourValueRule) {
    const std::string black = "0 0 0 1", red = "1 0 0 1", green = "0 1 0 1";
    const std::map<std::string, std::string> cases = {
        {"#0A141E", "0.0392156877 0.0784313753 0.117647059 1"},
        {"#ff00zz", green},  // the digits before the first non-digit count
        {"#F0A", "1 0 0.666666687 1"},
        {"\tRed\n", red},
        {" NONE\t", "none"},
        {"rgb(255,0,0)", black},
        {"#ff000", black},
        {"#ff00000", black},
        {"red x", black},
    };
    for (const auto& [value, expected] : cases) {
        Path::Color color;
        color.gradient = true;
        color.color[0][0] = color.color[1][0] = color.angle = 0.25f;  // leftovers to replace
        char text[80] = "none";
        if (svg.colorValue(value.c_str(), color)) {
            const float* c = color.color[0];
            std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", c[0], c[1], c[2], c[3]);
            EXPECT_FALSE(color.gradient || color.color[1][0] != 0 || color.angle != 0) << value;
        }
        EXPECT_EQ(text, expected) << value;
    }
}

// Values are kept whole, however long, and stay valid however many there are.
TEST_F(Paint, StyleTextIsCutIntoDeclarations) {
    std::string style = "fill:" + std::string(5000, 'x') + ";";
    for (int i = 0; i < 1000; ++i)
        style += "p" + std::to_string(i) + ":v" + std::to_string(i) + ";";
    Pictavo::Declarations declarations = svg.parseStyle(style.c_str());
    ASSERT_EQ(declarations.map.size(), 1002u);  // the last semicolon leaves an empty one
    EXPECT_EQ(std::string(declarations.map["fill"]), std::string(5000, 'x'));
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(std::string(declarations.map["p" + std::to_string(i)]), "v" + std::to_string(i));
}

// Declarations are trimmed, a later one replaces an earlier one, a second colon
// starts the value again, and names are matched as written. Opacity replaces
// the alpha of the paints made before it: a percentage is divided by 100, the
// value clamped to 0 to 1, and a value without a number ignored.
TEST_F(Paint, StylePaintsStrokesAndFills) {
    const struct {
        const char* style;
        float sizeScale;
        const char* paint;
    } cases[] = {
        {"fill:red;stroke:blue;stroke-width:3", 1, "stroke 0 0 1 1 w3 solid;fill 1 0 0 1;"},
        {"fill:red;fill:blue", 1, "fill 0 0 1 1;"},
        {" Fill : red ; stroke-width:4;", 1, ""},
        {" stroke : x : blue ", 1, "stroke 0 0 1 1 w1 solid;"},
        {"fill:none;stroke:#000", 1, "stroke 0 0 0 1 w1 solid;"},
        {"stroke:none;stroke-width:3;stroke-dasharray:5", 1, ""},
        {"stroke:blue;stroke-width:2.5px", 2, "stroke 0 0 1 1 w5 solid;"},
        {"stroke:blue", 20, "stroke 0 0 1 1 w20 solid;"},
        {"stroke:red;stroke-dasharray:5, 3", 1, "stroke 1 0 0 1 w1 5, 3;"},
        {"stroke:red;stroke-dasharray:10 None", 1, "stroke 1 0 0 1 w1 10 None;"},
        {"stroke:red;stroke-dasharray: none ", 1, "stroke 1 0 0 1 w1 solid;"},
        {"fill:red;opacity:0.5;stroke:blue", 1, "stroke 0 0 1 0.5 w1 solid;fill 1 0 0 0.5;"},
        {"fill:red;opacity:50%", 1, "fill 1 0 0 0.5;"},
        {"fill:red;opacity:150%", 1, "fill 1 0 0 1;"},
        {"fill:red;opacity:-0.3", 1, "fill 1 0 0 0;"},
        {"fill:red;opacity:abc", 1, "fill 1 0 0 1;"},
        {"fill:red;opacity:nan", 1, "fill 1 0 0 1;"},
    };
    for (const auto& c : cases) {
        Path path;
        Pictavo::Declarations style = svg.parseStyle(c.style);
        svg.convertStyle(&path, style.map, c.sizeScale);
        EXPECT_EQ(paintOf(path), c.paint) << c.style;
    }
}
