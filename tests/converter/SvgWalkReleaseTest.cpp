#include <gtest/gtest.h>

#include <string>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

}  // namespace

// The walk frees each element once it is converted, and parsed styles are
// found by the address of their text. A style text expanded from an entity
// after a group with another style was freed is likely to land at that
// group's old address: it must still be read for itself.
TEST(WalkRelease, StyleOfAFreedElementIsNotTakenForANewText) {
    const int pairs = 300;
    std::string body;
    for (int i = 0; i < pairs; ++i) {
        const std::string width = std::to_string(i % 10);
        body += "<g style=\"fill:#ff0000;stroke-width:" + width +
                "\"><rect width=\"1\" height=\"1\"/></g>"
                "<g style=\"fill:&blue;;stroke-width:" + width +
                "\"><rect width=\"2\" height=\"2\"/></g>";
    }
    ConvertedDrawing drawing(
        svgDocument(body, "", "<!DOCTYPE svg [<!ENTITY blue \"#0000ff\">]>\n"));
    ASSERT_EQ(drawing.result, 0);
    const auto paths = drawing.paths();
    ASSERT_EQ(paths.size(), 2u * pairs);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(paths[i]->fills.size(), 1u) << "path " << i;
        const float* colour = paths[i]->fills[0].color.color[0];
        const bool red = i % 2 == 0;
        EXPECT_EQ(colour[0], red ? 1.0f : 0.0f) << "path " << i;
        EXPECT_EQ(colour[2], red ? 0.0f : 1.0f) << "path " << i;
    }
}
