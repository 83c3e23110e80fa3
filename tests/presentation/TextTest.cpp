#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "presentation/Text.h"
#include "presentation/Written.h"

using Orvane::Text;

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

std::unique_ptr<Text> helloExample() {
    auto box = std::make_unique<Text>("Hello");
    box->fontName = "Helvetica";
    box->fontSize = 24;
    box->position[0] = 100;
    box->position[1] = 50;
    return box;
}

std::string exported(Text& box, int index) {
    return written([&](FILE* file) { box.exportXML(file, index); });
}

const char* const helloStart =
    "<textbox id=\"textbox-3\" grow-horizontally=\"true\" transformation=\"1.000000 0.000000 "
    "0.000000 1.000000 100.000000 50.000000\" size=\"100.000000 100.000000\">\n";

}  // namespace

TEST(TextExport, WritesTheFiveLineBox) {
    std::unique_ptr<Text> box = helloExample();
    EXPECT_EQ(exported(*box, 3),
              std::string(helloStart) +
                  "<content tab-stops=\"L 84\" font-size=\"24.000000\" font-name=\"Helvetica\" "
                  "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\">\n"
                  "<![CDATA[Hello]]>\n"
                  "</content>\n"
                  "</textbox>\n");
}

TEST(TextExport, ContentLineCarriesFontAndParagraph) {
    struct Case {
        const char* name;
        std::function<void(Text&)> change;
        const char* content;
    } cases[] = {
        {"centered", [](Text& t) { t.alignment = 1; },
         "font-size=\"24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"center\""},
        {"right", [](Text& t) { t.alignment = 2; },
         "font-size=\"24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"right\""},
        {"alignment past the table", [](Text& t) { t.alignment = 3; },
         "font-size=\"24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\""},
        {"negative alignment", [](Text& t) { t.alignment = -1; },
         "font-size=\"24.000000\" font-name=\"Helvetica\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\""},
        {"empty font name", [](Text& t) { t.fontName.clear(); },
         "font-size=\"24.000000\" font-name=\"\" paragraph-line-spacing=\"0.000000\" "
         "paragraph-alignment=\"left\""},
        {"font name with markup", [](Text& t) { t.fontName = "A&B \"Bold\" <x>"; },
         "font-size=\"24.000000\" font-name=\"A&amp;B &quot;Bold&quot; &lt;x&gt;\" "
         "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\""},
        {"line spacing and fractional size",
         [](Text& t) {
             t.lineSpacing = 1.5f;
             t.fontSize = 10.25f;
         },
         "font-size=\"10.250000\" font-name=\"Helvetica\" paragraph-line-spacing=\"1.500000\" "
         "paragraph-alignment=\"left\""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Text> box = helloExample();
        c.change(*box);
        std::string expected = std::string(helloStart) + "<content tab-stops=\"L 84\" " +
                               c.content + ">\n<![CDATA[Hello]]>\n</content>\n</textbox>\n";
        EXPECT_EQ(exported(*box, 3), expected) << c.name;
    }
}

TEST(TextExport, TextSurvivesInsideCharacterData) {
    struct Case {
        const char* text;
        const char* section;
    } cases[] = {
        {"", "<![CDATA[]]>"},
        {"a < b\n& c > d", "<![CDATA[a < b\n& c > d]]>"},
        {"x]]>y", "<![CDATA[x]]]]><![CDATA[>y]]>"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Text> box = helloExample();
        box->text = c.text;
        std::string out = exported(*box, 3);
        std::size_t start = out.find("\">\n<![CDATA[");
        ASSERT_NE(start, std::string::npos) << out;
        EXPECT_EQ(out.substr(start + 3), std::string(c.section) + "\n</content>\n</textbox>\n")
            << c.text;
    }
}

TEST(TextExport, NewBoxHasUsualDefaults) {
    Text box("t");
    EXPECT_EQ(exported(box, 0),
              "<textbox id=\"textbox-0\" grow-horizontally=\"true\" transformation=\"1.000000 "
              "0.000000 0.000000 1.000000 0.000000 0.000000\" size=\"100.000000 100.000000\">\n"
              "<content tab-stops=\"L 84\" font-size=\"16.000000\" font-name=\"\" "
              "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\">\n"
              "<![CDATA[t]]>\n</content>\n</textbox>\n");
}

TEST(TextExport, LeavesOutBoxesWithNumbersThatAreNotFinite) {
    struct Case {
        const char* name;
        std::function<void(Text&)> spoil;
    } cases[] = {
        {"position x", [](Text& t) { t.position[0] = nan; }},
        {"position y", [](Text& t) { t.position[1] = -inf; }},
        {"size", [](Text& t) { t.size[1] = inf; }},
        {"font size", [](Text& t) { t.fontSize = inf; }},
        {"line spacing", [](Text& t) { t.lineSpacing = nan; }},
        {"transformation", [](Text& t) { t.transformation[1] = nan; }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Text> box = helloExample();
        c.spoil(*box);
        EXPECT_EQ(exported(*box, 3), "") << c.name;
    }
}
