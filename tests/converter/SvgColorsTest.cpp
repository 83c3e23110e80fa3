#include <gtest/gtest.h>

#include <string>

#include "converter/Svg.h"
#include "presentation/Keynote.h"

namespace {

class ColorTable : public testing::Test {
protected:
    Orvane::Keynote keynote{(testing::TempDir() + "color-table.key").c_str(), 800, 600};
    Pictavo::SVG svg{keynote};

    // "r g b a" of an entry's plain colour, nine significant digits, or "absent".
    std::string entry(const std::string& name) {
        auto found = svg.colors.find(name);
        if (found == svg.colors.end()) return "absent";
        const float* c = found->second.color[0];
        char text[80];
        std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", c[0], c[1], c[2], c[3]);
        return text;
    }
};

TEST_F(ColorTable, TellingRows) {
    EXPECT_EQ(svg.colors.size(), 148u);
    const struct {
        const char* name;
        const char* rgba;
    } cases[] = {
        {"aliceblue", "0.941176474 0.972549021 1 1"},
        {"indigo", "0.294117659 0 0.509803951 1"},
        {"gray", "0.501960814 0.501960814 0.501960814 1"},
        {"grey", "0.501960814 0.501960814 0.501960814 1"},
        {"fuscia", "1 0 1 1"}, {"fuchsia", "1 0 1 1"}, {"magenta", "1 0 1 1"},
        {"aqua", "0 1 1 1"}, {"cyan", "0 1 1 1"},
        {"darkgoldenrod", "0.721568644 0.525490224 0.0431372561 1"},
        {"mediumspringgreen", "0 0.980392158 0.603921592 1"},
        {"transparent", "absent"}, {"currentcolor", "absent"}, {"none", "absent"},
        {"Red", "absent"}, {"rebeccapurple", "absent"},
    };
    for (const auto& c : cases) EXPECT_EQ(entry(c.name), c.rgba) << c.name;
}

TEST_F(ColorTable, EveryEntryIsAPlainColourUnderALowerCaseKey) {
    for (const auto& [name, color] : svg.colors) {
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
        EXPECT_FALSE(color.gradient) << name;
        EXPECT_EQ(color.color[0][3], 1.0f) << name;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(color.color[1][i], i == 3 ? 1.0f : 0.0f) << name;
        EXPECT_EQ(color.angle, 0.0f) << name;
    }
}

TEST_F(ColorTable, EveryGraySpellingHasAnEqualGreyTwin) {
    int pairs = 0;
    for (const auto& [name, color] : svg.colors) {
        std::string::size_type at = name.find("gray");
        if (at == std::string::npos) continue;
        EXPECT_EQ(entry(std::string(name).replace(at, 4, "grey")), entry(name)) << name;
        ++pairs;
    }
    EXPECT_EQ(pairs, 7);  // gray and its dark, darkslate, dim, light, lightslate, slate kin
}

}  // namespace
