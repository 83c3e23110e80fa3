#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "presentation/Text.h"
#include "presentation/Written.h"

using Orvane::Text;

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

const std::string helloStart =
    "<textbox id=\"textbox-3\" grow-horizontally=\"true\" transformation=\"1.000000 0.000000 "
    "0.000000 1.000000 100.000000 50.000000\" size=\"100.000000 100.000000\">\n"
    "<content tab-stops=\"L 84\" font-size=\"24.000000\" font-name=\"";
const std::string helloEnd = "]]>\n</content>\n</textbox>\n";

// The middle of the box: font name, spacing, alignment and the character data.
std::string content(const std::string& font, const char* spacing, const char* alignment,
                    const std::string& text) {
    return helloStart + font + "\" paragraph-line-spacing=\"" + spacing +
           "\" paragraph-alignment=\"" + alignment + "\">\n<![CDATA[" + text + helloEnd;
}

}  // namespace

// Hello in Helvetica 24 at (100, 50), written as drawable 3, then changed by each row.
TEST(TextExport, WritesTheFiveLineBoxOrNothing) {
    struct Case {
        std::function<void(Text&)> change;
        std::string expected;
    } cases[] = {
        {[](Text&) {}, content("Helvetica", "0.000000", "left", "Hello")},
        {[](Text& t) { t.alignment = 1; t.lineSpacing = 1.5f; },
         content("Helvetica", "1.500000", "center", "Hello")},
        {[](Text& t) { t.alignment = 2; }, content("Helvetica", "0.000000", "right", "Hello")},
        {[](Text& t) { t.alignment = 3; }, content("Helvetica", "0.000000", "left", "Hello")},
        {[](Text& t) { t.alignment = -1; }, content("Helvetica", "0.000000", "left", "Hello")},
        // Markup in the font name is escaped; each "]]>" of the text is cut after
        // "]]", so that joining the sections gives the text back.
        {[](Text& t) { t.fontName = "A&B \"Bold\" <x>"; t.text = "a <b>\n]]]>]]> c"; },
         content("A&amp;B &quot;Bold&quot; &lt;x&gt;", "0.000000", "left",
                 "a <b>\n]]]]]><![CDATA[>]]]]><![CDATA[> c")},
        {[](Text& t) { t.position[0] = nan; }, ""}, {[](Text& t) { t.position[1] = -inf; }, ""},
        {[](Text& t) { t.size[1] = inf; }, ""}, {[](Text& t) { t.fontSize = inf; }, ""},
        {[](Text& t) { t.lineSpacing = nan; }, ""},
        {[](Text& t) { t.transformation[1] = nan; }, ""},
    };
    for (const Case& c : cases) {
        Text box("Hello");
        box.fontName = "Helvetica";
        box.fontSize = 24;
        box.position[0] = 100;
        box.position[1] = 50;
        c.change(box);
        EXPECT_EQ(written([&](FILE* file) { box.exportXML(file, 3); }), c.expected);
    }
}

TEST(TextExport, NewBoxHasUsualDefaults) {
    Text box("t");
    EXPECT_EQ(written([&](FILE* file) { box.exportXML(file, 0); }),
              "<textbox id=\"textbox-0\" grow-horizontally=\"true\" transformation=\"1.000000 "
              "0.000000 0.000000 1.000000 0.000000 0.000000\" size=\"100.000000 100.000000\">\n"
              "<content tab-stops=\"L 84\" font-size=\"16.000000\" font-name=\"\" "
              "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\">\n"
              "<![CDATA[t]]>\n</content>\n</textbox>\n");
}
