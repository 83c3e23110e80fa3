#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "converter/ConvertedDrawing.h"

using ColorTable = converted::Converter;

// 148 lower-case keys; each component the float nearest to the value / 255;
// every gray spelling has a grey twin of the same value.
TEST_F(ColorTable, HoldsTheKeywordsWithTheirValues) {
    auto entry = [&](const std::string& name) -> std::string {
        auto found = svg.colors.find(name);
        if (found == svg.colors.end()) return "absent";
        const float* c = found->second.color[0];
        char text[80];
        std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", c[0], c[1], c[2], c[3]);
        return text;
    };
    EXPECT_EQ(svg.colors.size(), 148u);
    const std::pair<const char*, const char*> cases[] = {
        {"aliceblue", "0.941176474 0.972549021 1 1"}, {"indigo", "0.294117659 0 0.509803951 1"},
        {"grey", "0.501960814 0.501960814 0.501960814 1"}, {"fuscia", "1 0 1 1"},
        {"fuchsia", "1 0 1 1"}, {"magenta", "1 0 1 1"}, {"aqua", "0 1 1 1"}, {"cyan", "0 1 1 1"},
        {"darkgoldenrod", "0.721568644 0.525490224 0.0431372561 1"}, {"transparent", "absent"},
        {"currentcolor", "absent"}, {"none", "absent"}, {"Red", "absent"},
    };
    for (const auto& [name, rgba] : cases) EXPECT_EQ(entry(name), rgba) << name;
    int grays = 0;
    for (const auto& [name, color] : svg.colors) {
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
        std::string::size_type at = name.find("gray");
        if (at == std::string::npos) continue;
        EXPECT_EQ(entry(std::string(name).replace(at, 4, "grey")), entry(name)) << name;
        ++grays;
    }
    EXPECT_EQ(grays, 7);  // gray and its dark, darkslate, dim, light, lightslate, slate kin
}
