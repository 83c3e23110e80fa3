#include <gtest/gtest.h>
#include <libxml/xmlmemory.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>

#include <string>
#include <tuple>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

const char* const entities =
    "<!DOCTYPE svg [\n<!ENTITY colour \"#0000ff\">\n<!ENTITY again \"&colour;\">\n"
    "<!ENTITY shapes \"<rect width='1' height='1'/><g><circle r='1'/></g>\">\n]>\n";

// Only fill, stroke, stroke-width, stroke-dasharray, style and opacity pass to
// children; the style's paint comes before the attributes'. Text has its own
// tests.
TEST(Document, InheritancePaintAndPlacement) {
    const std::string r = "<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\"";
    const std::string rect = r + "/>";
    const std::pair<std::string, std::string> cases[] = {
        {"<g FILL=\"red\"><g>" + rect + "</g></g>", "fill(1,0,0,1) at(1,2)"},
        {"<g stroke=\"blue\" stroke-width=\"3\" stroke-dasharray=\"4 2\" opacity=\"0.5\">" + rect +
             "</g>",
         "fill(0,0,0,0.5) stroke(0,0,1,0.5 w3 dashed) at(1,2)"},
        {"<widget transform=\"translate(5,6)\" x=\"50\">" + rect + "</widget>",
         "fill(0,0,0,1) at(6,8)"},
        // A fill the style declares keeps the default black away, none included.
        {"<g style=\"fill:none\">" + rect + "</g>", "at(1,2)"},
        {"<g transform=\"scale(-2,8)\">" + r + " style=\"stroke:red;stroke-width:3\"/></g>",
         "fill(0,0,0,1) stroke(1,0,0,1 w12) at(-2,16)"},
        {"<g fill=\"&again;\">" + rect + "</g>", "fill(0,0,1,1) at(1,2)"},
        {r + " fill=\"\" style=\"\" transform=\"\"/>", "fill(0,0,0,1) at(1,2)"},
        // Siblings start again from their parent's state.
        {"<g fill=\"red\" transform=\"translate(10,0)\">" + rect + "</g><g>" + rect + "</g>" + r +
             " fill=\"blue\"/>" + rect,
         "fill(1,0,0,1) at(11,2); fill(0,0,0,1) at(1,2); fill(0,0,1,1) at(1,2); "
         "fill(0,0,0,1) at(1,2)"},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body);
        ConvertedDrawing drawing(svgDocument(body, "", entities));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.summary(), expected);
    }
}

TEST(Document, DrawsWhatTheDocumentShowsAndNothingElse) {
    const std::string rect = "<rect width=\"3\" height=\"4\"/>";
    const std::tuple<std::string, std::size_t, std::size_t> cases[] = {  // body, paths, texts
        {"<CIRCLE R=\"5\"/><ns:g><s:Rect xmlns:s=\"http://www.w3.org/2000/svg\" WIDTH=\"1\" "
         "HEIGHT=\"1\"/></ns:g>",
         2, 0},
        // Shapes missing a required attribute draw nothing, but their children do;
        // empty values count as given.
        {"<circle cx=\"1\"/><ellipse rx=\"1\"/><rect width=\"1\"/><line y2=\"1\"/><path/><polygon/>"
         "<polyline/><g r=\"5\"><circle/></g><circle>" + rect + "</circle>"
         "<path d=\"\"/><circle r=\"\"/><polygon points=\"\"/>",
         4, 0},
        {"<clipPath>" + rect + "</clipPath><marker>" + rect + "</marker><PATTERN>" + rect +
             "</PATTERN><rect display=\" none \" width=\"3\" height=\"4\"/><text display=\"none\">t</text>"
             "<g style=\"fill:red; display : none ;\">" + rect + "</g>",
         0, 0},
        {"<!-- c -->loose text<?pi x?><g display=\"none\"/><g display=\"inline\" "
         "style=\"display:block\">" + rect + "</g>" + rect,
         2, 0},
        // Elements in an entity's text belong to the entity, not to the drawing.
        {"<g fill=\"red\">&shapes;" + rect + "&shapes;</g><text>&shapes;</text><text>a&shapes;</text>",
         1, 1},
    };
    for (const auto& [body, paths, texts] : cases) {
        SCOPED_TRACE(body);
        ConvertedDrawing drawing(svgDocument(body, "", entities));
        EXPECT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.output + drawing.errors, "");
        EXPECT_EQ(drawing.paths().size(), paths);
        EXPECT_EQ(drawing.slide.drawables.size() - drawing.paths().size(), texts);
    }
}

// Width and height in user units set the slide size, rounded; a side in per
// cent, left out or not positive takes the viewBox's (at its aspect ratio
// when the other side is given), else 800 by 600. Only the root sizes the
// slide, once.
TEST(Document, SvgElementSetsTheSlideSize) {
    const std::tuple<const char*, const char*, const char*> cases[] = {  // root, body, size
        {"width=\"640px\" HEIGHT=\"480.7\"", "", "640 481"},
        {"width=\"100%\" height=\"300\"", "", "800 300"},
        {"width=\"99999999999\" height=\"300\"", "", "800 300"},
        {"viewBox=\"0,0,100.6,50.4\"", "", "101 50"},
        {"width=\"100%\" height=\"0\" viewbox=\"0 0 1024 768\"", "", "1024 768"},
        {"width=\"200\" viewBox=\"0 0 40 10\"", "", "200 50"},
        {"height=\"20\" viewBox=\"0 0 40 10\"", "", "80 20"}, {"width=\"0.2\" height=\"0.2\"", "", "1 1"},
        {"width=\"400\" height=\"300\"", "<g><svg width=\"200\" height=\"100\"/></g>", "400 300"},
        {"width=\"400\" height=\"300\"", "<svg width=\"100%\" height=\"100%\" viewBox=\"0 0 2 2\"/>", "400 300"},
        {"width=\"40\" height=\"30\" systemLanguage=\"fr\" display=\"none\"", "", "40 30"},
    };
    for (const auto& [root, body, size] : cases) {
        ConvertedDrawing drawing(svgDocument(body, root));
        EXPECT_EQ(std::to_string(drawing.slide.width) + " " +
                      std::to_string(drawing.slide.height),
                  size)
            << root << body;
        EXPECT_EQ(drawing.slide.sizings, 1) << root << body;
    }
}

// One line on standard error says where the file broke; an external entity is
// never loaded.
TEST(Document, UnparsableFilesSayWhereTheyBroke) {
    const std::pair<const char*, int> cases[] = {
        {"<svg>\n<g>\n<rect></g></svg>\n", 3},
        {"<!DOCTYPE svg [\n<!ENTITY ext SYSTEM \"/etc/hostname\">\n]>\n<svg fill=\"&ext;\"/>\n", 4},
    };
    for (const auto& [document, line] : cases) {
        SCOPED_TRACE(document);
        ConvertedDrawing drawing(document);
        const std::string path = drawing.input;
        const std::string prefix = path + ":" + std::to_string(line) + ": ";
        EXPECT_EQ(drawing.result, 1);
        EXPECT_EQ(drawing.output, "error: could not parse file " + path + "\n");
        EXPECT_EQ(drawing.errors.compare(0, prefix.size(), prefix), 0) << drawing.errors;
        EXPECT_GT(drawing.errors.size(), prefix.size() + 1);
        EXPECT_EQ(drawing.errors.find('\n'), drawing.errors.size() - 1) << drawing.errors;
        EXPECT_TRUE(drawing.slide.drawables.empty());
    }
}

// libxml2's allocations fail after `allowedAllocations` more.
long allowedAllocations = 0;
void* failingAllocate(std::size_t size) { return allowedAllocations-- > 0 ? std::malloc(size) : nullptr; }
void* failingReallocate(void* memory, std::size_t size) {
    return allowedAllocations-- > 0 ? std::realloc(memory, size) : nullptr;
}
char* failingDuplicate(const char* text) { return allowedAllocations-- > 0 ? strdup(text) : nullptr; }

// Memory running out anywhere in the parser, even where libxml2 itself
// reports only that the file could not be loaded, throws instead of giving
// part of a drawing or a parse error.
TEST(Document, MemoryRunningOutInTheParserThrows) {
    const std::string input = converted::scratch(".svg");
    std::ofstream(input) << svgDocument("<g fill=\"red\"><rect width=\"1\" height=\"1\"/><text>t</text></g>");
    xmlFreeFunc release;
    xmlMallocFunc allocate;
    xmlReallocFunc reallocate;
    xmlStrdupFunc duplicate;
    xmlMemGet(&release, &allocate, &reallocate, &duplicate);
    for (const long budget : {0L, 9L, 20L, 35L}) {
        converted::CollectedSlide slide;
        Pictavo::SVG svg(slide);
        allowedAllocations = budget;
        xmlMemSetup(std::free, failingAllocate, failingReallocate, failingDuplicate);
        bool thrown = false;
        try {
            svg.convert(input.c_str());
        } catch (const std::bad_alloc&) {
            thrown = true;
        }
        xmlMemSetup(release, allocate, reallocate, duplicate);
        EXPECT_TRUE(thrown) << budget;
    }
    std::remove(input.c_str());
}

}  // namespace
