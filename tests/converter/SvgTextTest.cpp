#include <gtest/gtest.h>

#include <string>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;

TEST(Text, BoxTakesTheFirstCharacterDataFontAndAnchor) {
    const std::string longText(5000, 'w');
    struct Case {
        std::string body, expected;
    } cases[] = {
        {"<text x=\"10\" y=\"20\" font-size=\"12px\" font-family=\"Arial\">Hello</text>",
         "[Hello] Arial 12 at(10,20)"},
        {"<g transform=\"translate(5, 5) scale(2)\"><text x=\"10\" y=\"20\" font-size=\"12\">Hi"
         "</text></g>",
         "[Hi] 24 at(25,45)"},
        // The size follows the square root of the area scale; 16 when none is given.
        {"<g transform=\"scale(2,8)\"><text font-size=\"3\">s</text></g>", "[s] 12 at(0,0)"},
        {"<g transform=\"translate(7,9) scale(0.5)\"><text>t</text></g>", "[t] 8 at(7,9)"},
        {"<g font-size=\"40\" font-family=\"Serif\" x=\"9\"><text>n</text></g>", "[n] 16 at(0,0)"},
        {"<text>\n\t  padded text \r\n</text>", "[padded text] 16 at(0,0)"},
        {"<text><![CDATA[ a < b & c ]]></text>", "[a < b & c] 16 at(0,0)"},
        {"<text>\n  <tspan>lost</tspan></text>", "[] 16 at(0,0)"},
        {"<text>first<tspan>x</tspan>after</text>", "[first] 16 at(0,0)"},
        {"<text>" + longText + "</text>", "[" + longText + "] 16 at(0,0)"},
        {"<text/><text><tspan>inner</tspan></text><text><!-- note -->a</text>", ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.body.substr(0, 60));
        ConvertedDrawing drawing(converted::svgDocument(row.body));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.summary(), row.expected);
    }
}

}  // namespace
