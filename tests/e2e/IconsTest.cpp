// Real icons, as an icon package ships them (tests/data/icons/SOURCE.md),
// converted by the built program.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

struct Box {
    float left, top, right, bottom;
};

// The slide area a shape covers: its transformation scales the 0 to 100 box
// of its path data and moves it to its position.
Box shapeBox(xmlNode* shape) {
    xmlChar* text = xmlGetProp(shape, reinterpret_cast<const xmlChar*>("transformation"));
    float a = 0, b = 0, c = 0, d = 0, x = 0, y = 0;
    if (text != nullptr) std::sscanf(reinterpret_cast<char*>(text), "%f %f %f %f %f %f", &a, &b, &c, &d, &x, &y);
    xmlFree(text);
    return {x, y, x + 100 * a, y + 100 * d};
}

std::vector<Box> shapeBoxes(xmlNode* node) {
    std::vector<Box> boxes;
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (std::strcmp(reinterpret_cast<const char*>(node->name), "shape") == 0) boxes.push_back(shapeBox(node));
        const std::vector<Box> inner = shapeBoxes(node->children);
        boxes.insert(boxes.end(), inner.begin(), inner.end());
    }
    return boxes;
}

bool holdsNonFiniteNumber(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

TEST(Icons, ConvertToWellFormedDocumentsWithOneShapePerStrokedElement) {
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
    const float slide = 24;  // every icon is drawn on a 24 by 24 canvas
    const float tolerance = 1e-3f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        Scratch scratch;
        fs::copy_file(fs::path(PICTAVO_TEST_DATA) / "icons" / (std::string(c.icon) + ".svg"),
                      scratch.work / "icon.svg");

        const RunResult result = scratch.run({"icon.svg"});

        ASSERT_EQ(result.status, 0) << result.output;
        const std::string document = readFile(scratch.work / "icon.key" / "presentation.apxl");
        EXPECT_FALSE(holdsNonFiniteNumber(document));
        EXPECT_NE(document.find("slide-size=\"24 24\""), std::string::npos);
        xmlDoc* parsed = xmlReadMemory(document.data(), static_cast<int>(document.size()), "presentation.apxl",
                                       nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        ASSERT_NE(parsed, nullptr) << "not well-formed";
        const std::vector<Box> boxes = shapeBoxes(xmlDocGetRootElement(parsed));
        xmlFreeDoc(parsed);
        EXPECT_EQ(boxes.size(), c.shapes);
        for (const Box& box : boxes) {
            EXPECT_GE(box.left, -tolerance);
            EXPECT_GE(box.top, -tolerance);
            EXPECT_LE(box.right, slide + tolerance);
            EXPECT_LE(box.bottom, slide + tolerance);
        }
    }
}

}  // namespace
}  // namespace e2e
