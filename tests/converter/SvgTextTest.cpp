#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

// "[text] font size at(x,y)" for each box, in order.
std::string summary(const ConvertedDrawing& drawing) {
    std::ostringstream out;
    for (const Orvane::Text* box : drawing.texts()) {
        out << "[" << box->text << "] " << box->fontName << (box->fontName.empty() ? "" : " ")
            << box->fontSize << " at(" << box->position[0] << "," << box->position[1] << ")";
        // The box itself is never turned or stretched.
        const float* t = box->transformation;
        if (t[0] != 1 || t[1] != 0 || t[2] != 0 || t[3] != 1) out << " transformed";
    }
    return out.str();
}

TEST(Text, BoxTakesTheFirstCharacterDataFontAndAnchor) {
    const std::string longText(5000, 'w');
    struct Case {
        const char* name;
        std::string body;
        std::string expected;
    } cases[] = {
        {"plain", "<text x=\"10\" y=\"20\" font-size=\"12px\" font-family=\"Arial\">Hello</text>",
         "[Hello] Arial 12 at(10,20)"},
        {"translated and scaled group", "<g transform=\"translate(5, 5) scale(2)\">"
                                        "<text x=\"10\" y=\"20\" font-size=\"12\">Hi</text></g>",
         "[Hi] 24 at(25,45)"},
        {"size follows the area of a stretch",
         "<g transform=\"scale(2,8)\"><text font-size=\"3\">s</text></g>", "[s] 12 at(0,0)"},
        {"shear keeps the size", "<text transform=\"matrix(1,0,1,1,0,0)\" x=\"2\" y=\"3\""
                                 " font-size=\"10\">k</text>",
         "[k] 10 at(5,3)"},
        {"no anchor lands on the translation",
         "<g transform=\"translate(7,9)\"><text>t</text></g>", "[t] 16 at(7,9)"},
        {"default size is scaled too", "<g transform=\"scale(0.5)\"><text>d</text></g>",
         "[d] 8 at(0,0)"},
        {"viewBox scales anchor and size", "<svg width=\"200\" height=\"200\" viewBox=\"0 0 100"
                                           " 100\"><text x=\"3\" y=\"4\" font-size=\"10\">v</text></svg>",
         "[v] 20 at(6,8)"},
        {"white space trimmed", "<text>\n\t  padded text \r\n</text>", "[padded text] 16 at(0,0)"},
        {"CDATA as the first child", "<text><![CDATA[ a < b & c ]]></text>",
         "[a < b & c] 16 at(0,0)"},
        {"white space before a tspan", "<text>\n  <tspan>lost</tspan></text>", "[] 16 at(0,0)"},
        {"only the first child counts", "<text>first<tspan>x</tspan>after</text>",
         "[first] 16 at(0,0)"},
        {"family list taken whole", "<text font-family=\"'Open Sans', serif\">f</text>",
         "[f] 'Open Sans', serif 16 at(0,0)"},
        {"font attributes are not inherited",
         "<g font-size=\"40\" font-family=\"Serif\" x=\"9\"><text>n</text></g>", "[n] 16 at(0,0)"},
        {"exponents and units", "<text x=\"1e1\" y=\"2.5px\" font-size=\"1.5e1pt\">e</text>",
         "[e] 15 at(10,2.5)"},
        {"upper-case names", "<TEXT X=\"4\" Font-Size=\"9\">u</TEXT>", "[u] 9 at(4,0)"},
        {"long text kept whole", "<text>" + longText + "</text>", "[" + longText + "] 16 at(0,0)"},
        {"empty element", "<text/><text></text>", ""},
        {"element first", "<text><tspan>inner</tspan></text>", ""},
        {"comment or instruction first", "<text><!-- note -->a</text><text><?pi x?>b</text>", ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ConvertedDrawing drawing(svgDocument(row.body));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(summary(drawing), row.expected);
        EXPECT_TRUE(drawing.paths().empty());
    }
}

}  // namespace
