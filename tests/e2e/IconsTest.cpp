// Real icons, as an icon package ships them (tests/data/icons/SOURCE.md),
// converted by the built program.

#include <algorithm>
#include <cstdio>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

TEST(Icons, ConvertToOneShapeInsideTheSlidePerStrokedElement) {
    struct Case {
        const char* icon;
        std::size_t shapes;  // counted from the icon's elements, each stroked once and not filled
    };
    const Case cases[] = {
        {"calendar", 4},  // rounded rect, three lines
        {"camera", 2},    // path, circle
        {"clock", 2},     // circle, polyline
        {"heart", 1},     // path of arcs
        {"settings", 2},  // circle, path of arcs with packed flags
        {"star", 1},      // polygon
        {"sun", 9},       // circle, eight lines
    };
    const float slide = 24, tolerance = 1e-3f;  // every icon is drawn on a 24 by 24 canvas
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        const DocumentCheck::Document document(
            converted(readFile(fs::path(PICTAVO_TEST_DATA) / "icons" / (std::string(c.icon) + ".svg"))));
        EXPECT_EQ(document.attributeValues("theme", "slide-size"), std::vector<std::string>{"24 24"});
        const std::vector<std::string> transformations = document.drawableValues("shape", "transformation");
        EXPECT_EQ(transformations.size(), c.shapes);
        // The transformation scales the 0 to 100 box of the path data and moves it.
        for (const std::string& transformation : transformations) {
            float a = 0, b = 0, cc = 0, d = 0, x = 0, y = 0;
            ASSERT_EQ(std::sscanf(transformation.c_str(), "%f %f %f %f %f %f", &a, &b, &cc, &d, &x, &y), 6);
            EXPECT_GE(std::min(x, x + 100 * a), -tolerance) << transformation;
            EXPECT_GE(std::min(y, y + 100 * d), -tolerance) << transformation;
            EXPECT_LE(std::max(x, x + 100 * a), slide + tolerance) << transformation;
            EXPECT_LE(std::max(y, y + 100 * d), slide + tolerance) << transformation;
        }
    }
}

}  // namespace
}  // namespace e2e
