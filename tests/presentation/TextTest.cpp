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

std::string helloWith(std::function<void(Text&)> change) {
    Text box("Hello");
    box.fontName = "Helvetica";
    box.fontSize = 24;
    box.position[0] = 100;
    box.position[1] = 50;
    change(box);
    return written([&](FILE* file) { box.exportXML(file, 3); });
}

const std::string helloStart =
    "<textbox id=\"textbox-3\" grow-horizontally=\"true\" transformation=\"1.000000 0.000000 "
    "0.000000 1.000000 100.000000 50.000000\" size=\"100.000000 100.000000\">\n"
    "<content tab-stops=\"L 84\" font-size=\"";
const std::string helloEnd = "\n</content>\n</textbox>\n";

}  // namespace

TEST(TextExport, WritesTheFiveLineBox) {
    struct Case {
        const char* name;
        std::function<void(Text&)> change;
        std::string content;  // from the font size to the end of the character data
    } cases[] = {
        {"as made", [](Text&) {},
         "24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\">\n<![CDATA[Hello]]>"},
        {"centered, spaced", [](Text& t) { t.alignment = 1; t.lineSpacing = 1.5f; },
         "24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"1.500000\" "
         "paragraph-alignment=\"center\">\n<![CDATA[Hello]]>"},
        {"right", [](Text& t) { t.alignment = 2; },
         "24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"right\">\n<![CDATA[Hello]]>"},
        {"alignment past the table", [](Text& t) { t.alignment = 3; },
         "24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\">\n<![CDATA[Hello]]>"},
        {"negative alignment", [](Text& t) { t.alignment = -1; },
         "24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\">\n<![CDATA[Hello]]>"},
        {"font name with markup, text with a terminator",
         [](Text& t) { t.fontName = "A&B \"Bold\" <x>"; t.text = "a <b>\n]]> c"; },
         "24.000000\" font-name=\"A&amp;B &quot;Bold&quot; &lt;x&gt;\" "
         "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\">\n"
         "<![CDATA[a <b>\n]]]]><![CDATA[> c]]>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(helloWith(c.change), helloStart + c.content + helloEnd) << c.name;
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

TEST(TextExport, WritesNothingWithNumbersNotFinite) {
    std::function<void(Text&)> spoilers[] = {
        [](Text& t) { t.position[0] = nan; }, [](Text& t) { t.position[1] = -inf; },
        [](Text& t) { t.size[1] = inf; },     [](Text& t) { t.fontSize = inf; },
        [](Text& t) { t.lineSpacing = nan; }, [](Text& t) { t.transformation[1] = nan; },
    };
    for (const auto& spoil : spoilers) EXPECT_EQ(helloWith(spoil), "");
}
