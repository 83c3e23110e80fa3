#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using Orvane::Path;

// A colour's components to nine significant digits, enough to tell
// neighbouring floats apart.
std::string rgba(const Path::Color& color) {
    const float* c = color.color[0];
    char text[80];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", c[0], c[1], c[2], c[3]);
    return text;
}

// The strokes, then the fills, of a path, one short entry each.
std::string paintOf(const Path& path) {
    std::string text;
    for (const Path::Stroke& s : path.strokes) {
        char width[32];
        std::snprintf(width, sizeof width, " w%g ", s.width);
        text += "stroke " + rgba(s.color) + width + (s.solid ? "solid" : s.pattern) + ";";
    }
    for (const Path::Fill& f : path.fills) text += "fill " + rgba(f.color) + ";";
    return text;
}

}  // namespace

// Declarations are trimmed, names read without regard to case, and a later
// one replaces an earlier one. Opacity sets the alpha of the paints: a
// percentage is divided by 100, the value clamped to 0 to 1, and a value
// without a number ignored. Stroke widths follow the drawing's scale.
TEST(StyledPaint, StylePaintsStrokesAndFills) {
    const std::tuple<const char*, const char*, const char*> cases[] = {  // style, scale, paint
        {"fill:red;stroke:blue;stroke-width:3", "1", "stroke 0 0 1 1 w3 solid;fill 1 0 0 1;"},
        {"fill:red;fill:blue", "1", "fill 0 0 1 1;"},
        {" Fill : red ; stroke-width:4;", "1", "fill 1 0 0 1;"},
        {"fill:none;stroke:none;stroke-width:3;stroke-dasharray:5", "1", ""},
        {"stroke:blue;stroke-width:2.5px;fill:none", "2", "stroke 0 0 1 1 w5 solid;"},
        {"stroke:red;stroke-dasharray: none ;fill:none", "1", "stroke 1 0 0 1 w1 solid;"},
        {"fill:red;opacity:50%;stroke:blue", "1", "stroke 0 0 1 0.5 w1 solid;fill 1 0 0 0.5;"},
        {"fill:red;opacity:150%", "1", "fill 1 0 0 1;"},
        {"fill:red;opacity:-0.3", "1", "fill 1 0 0 0;"},
        {"fill:red;opacity:abc", "1", "fill 1 0 0 1;"},
        {"fill:red;opacity:nan", "1", "fill 1 0 0 1;"},
    };
    for (const auto& [style, scale, expected] : cases) {
        converted::ConvertedDrawing drawing(converted::svgDocument(
            std::string("<g transform=\"scale(") + scale + ")\"><rect width=\"1\" height=\"1\" style=\"" +
            style + "\"/></g>"));
        ASSERT_EQ(drawing.paths().size(), 1u) << style;
        EXPECT_EQ(paintOf(*drawing.paths()[0]), expected) << style;
    }
}
