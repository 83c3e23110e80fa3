#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "presentation/Text.h"

using Orvane::Text;

namespace {

// A box of "Hello" at (100, 50), written as drawable 3, with the font size,
// font name, spacing, alignment and character data given.
std::string box(const char* fontSize, const std::string& font, const char* spacing,
                const char* alignment, const std::string& text,
                const char* color = "0.000000 0.000000 0.000000 1.000000") {
    return std::string("<textbox id=\"textbox-3\" grow-horizontally=\"true\" transformation=\""
                       "1.000000 0.000000 0.000000 1.000000 100.000000 50.000000\" size=\""
                       "100.000000 100.000000\">\n<content tab-stops=\"L 84\" font-size=\"") +
           fontSize + "\" font-name=\"" + font + "\" paragraph-line-spacing=\"" + spacing +
           "\" paragraph-alignment=\"" + alignment + "\" font-color=\"" + color +
           "\">\n<![CDATA[" + text +
           "]]>\n</content>\n</textbox>\n";
}

}  // namespace

// A new box at (100, 50), then changed by each row; a box with a number that
// is not finite writes nothing.
TEST(TextExport, WritesTheFiveLineBoxOrNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<std::function<void(Text&)>, std::string> cases[] = {
        {[](Text&) {}, box("16.000000", "", "0.000000", "left", "Hello")},
        {[](Text& t) { t.alignment = 1; t.lineSpacing = 1.5f; t.fontSize = 24; },
         box("24.000000", "", "1.500000", "center", "Hello")},
        {[](Text& t) { t.alignment = 2; }, box("16.000000", "", "0.000000", "right", "Hello")},
        {[](Text& t) { t.alignment = 3; }, box("16.000000", "", "0.000000", "left", "Hello")},
        // Markup in the font name is escaped; each "]]>" of the text is cut after
        // "]]", so that joining the sections gives the text back.
        {[](Text& t) { t.fontName = "A&B \"Bold\" <x>"; t.text = "a <b>\n]]]>]]> c"; },
         box("16.000000", "A&amp;B &quot;Bold&quot; &lt;x&gt;", "0.000000", "left",
             "a <b>\n]]]]]><![CDATA[>]]]]><![CDATA[> c")},
        {[](Text& t) { t.fontColor[0] = 1; t.fontColor[2] = 0.5f; t.fontColor[3] = 0.25f; },
         box("16.000000", "", "0.000000", "left", "Hello", "1.000000 0.000000 0.500000 0.250000")},
        {[=](Text& t) { t.lineSpacing = nan; }, ""},
        {[=](Text& t) { t.fontColor[1] = nan; }, ""},
        {[=](Text& t) { t.transformation[1] = nan; }, ""},
    };
    for (const auto& [change, expected] : cases) {
        Text text("Hello");
        text.position[0] = 100;
        text.position[1] = 50;
        change(text);
        std::string written;
        text.write(written, 3);
        EXPECT_EQ(written, expected);
    }
}
