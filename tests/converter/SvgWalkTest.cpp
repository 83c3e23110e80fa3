#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;
using Orvane::Path;

const char* const entities =
    "<!DOCTYPE svg [\n<!ENTITY colour \"blue\">\n"
    "<!ENTITY again \"&colour;\">\n<!ENTITY nothing \"\">\n"
    "<!ENTITY shapes \"<rect width='1' height='1'/><g><circle r='1'/></g>\">\n]>\n";

// Only fill, stroke, stroke-width, stroke-dasharray, style and opacity pass to
// children; the style's paint comes before the attributes'.
TEST(Walk, InheritancePaintAndPlacement) {
    const std::string r = "<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\"";
    const std::string rect = r + "/>";
    struct Case {
        std::string body;
        const char* expected;
    } cases[] = {
        {"<g FILL=\"red\"><g>" + rect + "</g></g>", "fill(1,0,0,1) at(1,2)"},
        {"<g stroke=\"blue\" stroke-width=\"3\" stroke-dasharray=\"4 2\" opacity=\"0.5\">" + rect +
             "</g>",
         "fill(0,0,0,0.5) stroke(0,0,1,0.5 w3 dashed) at(1,2)"},
        {"<g fill=\"red\" stroke=\"red\">" + r + " fill=\"blue\" stroke=\"none\"/></g>",
         "fill(0,0,1,1) at(1,2)"},
        {"<g x=\"50\" y=\"60\"><rect width=\"3\" height=\"4\"/></g>", "fill(0,0,0,1) at(0,0)"},
        {"<widget transform=\"translate(5,6)\"><switch fill=\"red\">" + rect + "</switch></widget>",
         "fill(1,0,0,1) at(6,8)"},
        {r + " fill=\"none\"/>", "at(1,2)"},
        // A fill the style declares keeps the default black away, none included.
        {r + " style=\"fill:none;stroke:#000\"/>", "stroke(0,0,0,1 w1) at(1,2)"},
        {"<g style=\"fill:none\">" + rect + "</g>", "at(1,2)"},
        {r + " style=\"fill:red;stroke:red\" fill=\"blue\" stroke=\"blue\"/>",
         "fill(1,0,0,1) fill(0,0,1,1) stroke(1,0,0,1 w1) stroke(0,0,1,1 w1) at(1,2)"},
        {"<g style=\"fill:red\">" + r + " style=\"stroke:blue\"/></g>",
         "fill(0,0,0,1) stroke(0,0,1,1 w1) at(1,2)"},
        {r + " opacity=\"0.25\"/>", "fill(0,0,0,0.25) at(1,2)"},
        {"<g transform=\"scale(-2,8)\">" + r + " style=\"stroke:red;stroke-width:3\"/></g>",
         "fill(0,0,0,1) stroke(1,0,0,1 w12) at(-2,16)"},
        {"<g fill=\"&again;\">" + rect + "</g>", "fill(0,0,1,1) at(1,2)"},
        {r + " style=\"stroke:none;fill:&colour;;\"/>", "fill(0,0,1,1) at(1,2)"},
        {r + " fill=\"&nothing;\"/>", "fill(0,0,0,1) at(1,2)"},
        {r + " fill=\"\" style=\"\" transform=\"\"/>", "fill(0,0,0,1) at(1,2)"},
        // Siblings start again from their parent's state.
        {"<g fill=\"red\" transform=\"translate(10,0)\">" + rect + "</g><g>" + rect + "</g>" + r +
             " fill=\"blue\"/>" + rect,
         "fill(1,0,0,1) at(11,2); fill(0,0,0,1) at(1,2); fill(0,0,1,1) at(1,2); "
         "fill(0,0,0,1) at(1,2)"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.body);
        ConvertedDrawing drawing(svgDocument(row.body, "", entities));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.summary(), row.expected);
    }
}

TEST(Walk, DrawsWhatTheDocumentShowsAndNothingElse) {
    const std::string rect = "<rect width=\"3\" height=\"4\"/>";
    struct Case {
        std::string body;
        std::size_t paths, texts;
    } cases[] = {
        {"<circle r=\"1\"/><ellipse rx=\"1\" ry=\"2\"/>" + rect +
             "<path d=\"M0 0L1 1\"/><polygon points=\"0 0 1 1 1 0\"/>"
             "<polyline points=\"0 0 1 1\"/><line x2=\"1\" y2=\"1\"/><text>t</text>",
         7, 1},
        {"<CIRCLE R=\"5\"/><ns:g><s:Rect xmlns:s=\"http://www.w3.org/2000/svg\" WIDTH=\"1\" "
         "HEIGHT=\"1\"/></ns:g>",
         2, 0},
        // Shapes missing a required attribute draw nothing, but their children do;
        // empty values count as given.
        {"<circle cx=\"1\"/><ellipse rx=\"1\"/><rect width=\"1\"/><line y2=\"1\"/><path/><polygon/>"
         "<polyline/><g r=\"5\"><circle/></g><circle>" + rect + "</circle>"
         "<path d=\"\"/><circle r=\"\"/><polygon points=\"\"/>",
         4, 0},
        {"<defs>" + rect + "</defs><clipPath>" + rect + "</clipPath><mask>" + rect +
             "</mask><symbol>" + rect + "</symbol><marker>" + rect + "</marker><PATTERN>" + rect +
             "</PATTERN>",
         0, 0},
        {"<rect display=\" none \" width=\"3\" height=\"4\"/><g display=\"none\">" + rect +
             "</g><text display=\"none\">t</text><g style=\"fill:red; display : none ;\">" + rect +
             "</g>",
         0, 0},
        {"<!-- c -->loose text<?pi x?><g display=\"none\"/><g display=\"inline\" "
         "style=\"display:block\">" + rect + "</g>" + rect,
         2, 0},
        // Elements in an entity's text belong to the entity, not to the drawing.
        {"<g fill=\"red\">&shapes;" + rect + "&shapes;</g><text>&shapes;</text><text>a&shapes;</text>",
         1, 1},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.body);
        ConvertedDrawing drawing(svgDocument(row.body, "", entities));
        EXPECT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.output + drawing.errors, "");
        EXPECT_EQ(drawing.paths().size(), row.paths);
        EXPECT_EQ(drawing.texts().size(), row.texts);
    }
}

// A radius that is not positive takes the other one; each is limited to half
// its side; without a positive radius the corners stay square. A rounded
// outline starts with the corner from (width - rx, 0) to (width, ry).
TEST(Walk, RectangleCornerRadii) {
    const std::pair<const char*, const char*> cases[] = {  // attributes, first segment
        {"width=\"100\" height=\"100\"", "L 0,0 100,0"},
        {"width=\"100\" height=\"100\" rx=\"0\"", "L 0,0 100,0"},
        {"width=\"100\" height=\"100\" rx=\"5\"", "C 95,0 100,5"},
        {"width=\"100\" height=\"100\" ry=\"4\"", "C 96,0 100,4"},
        {"width=\"100\" height=\"100\" rx=\"10\" ry=\"2\"", "C 90,0 100,2"},
        {"width=\"40\" height=\"20\" rx=\"30\"", "C 20,0 40,10"},
        {"width=\"40\" height=\"20\" rx=\"8\" ry=\"15\"", "C 32,0 40,10"},
    };
    for (const auto& [attributes, expected] : cases) {
        ConvertedDrawing drawing(svgDocument(std::string("<rect ") + attributes + "/>"));
        ASSERT_EQ(drawing.paths().size(), 1u) << attributes;
        const Orvane::PathSegment& first = drawing.paths()[0]->segments.at(0);
        EXPECT_EQ(std::string(first.straight ? "L " : "C ") + converted::point(first.start) + " " +
                      converted::point(first.end),
                  expected)
            << attributes;
    }
}

// Width and height set the slide size when both are positive integers without
// per cent; else the viewBox size does, else it stays 800 by 600.
TEST(Walk, SvgElementSetsTheSlideSize) {
    const std::tuple<const char*, const char*, int, int> cases[] = {  // root, body, size
        {"width=\"400\" height=\"300\"", "", 400, 300},
        {"width=\"100%\" height=\"300\"", "", 800, 600},
        {"width=\"400\"", "", 800, 600},
        {"WIDTH=\"100.7\" Height=\"50.2\"", "", 100, 50},
        {"width=\"0\" height=\"300\"", "", 800, 600},
        {"width=\"99999999999\" height=\"300\"", "", 800, 600},
        {"width=\"100%\" height=\"100%\" viewBox=\"0 0 1024 768\"", "", 1024, 768},
        {"width=\"0\" height=\"0\" viewbox=\"0 0 320 200\"", "", 320, 200},
        {"width=\"400\" height=\"300\" viewBox=\"0 0 10 10\"", "", 400, 300},
        {"width=\"400\" height=\"300\"", "<g><svg width=\"200\" height=\"100\"/></g>", 200, 100},
    };
    for (const auto& [root, body, width, height] : cases) {
        ConvertedDrawing drawing(svgDocument(body, root));
        EXPECT_EQ(std::to_string(drawing.keynote->width) + " " +
                      std::to_string(drawing.keynote->height),
                  std::to_string(width) + " " + std::to_string(height))
            << root << body;
    }
}

// A large entity referenced again and again: values are expanded whole until
// the document's budget is spent, never beyond it.
TEST(Walk, EntityExpansionStaysWithinItsBudget) {
    std::string figure, body;
    for (int i = 0; i < 2500; ++i) figure += "L1 1 L0 0 ";
    for (int i = 0; i < 400; ++i) body += "<path d=\"M0 0 &figure;\"/>";
    ConvertedDrawing drawing(
        svgDocument(body, "", "<!DOCTYPE svg [\n<!ENTITY figure \"" + figure + "\">\n]>\n"));
    ASSERT_EQ(drawing.paths().size(), 400u);
    std::size_t segments = 0;
    for (const Path* path : drawing.paths()) segments += path->segments.size();
    EXPECT_EQ(drawing.paths()[0]->segments.size(), 5000u);
    EXPECT_LT(segments, 5000u * 400);
}

// One line on standard error says where the file broke; an external entity is
// never loaded.
TEST(Walk, UnparsableFilesSayWhereTheyBroke) {
    const std::pair<const char*, int> cases[] = {
        {"<svg>\n<g>\n<rect></g></svg>\n", 3},
        {"<!DOCTYPE svg [\n<!ENTITY ext SYSTEM \"/etc/hostname\">\n]>\n<svg fill=\"&ext;\"/>\n", 4},
    };
    for (const auto& [document, line] : cases) {
        SCOPED_TRACE(document);
        ConvertedDrawing drawing(document);
        const std::string path = drawing.input.string();
        const std::string prefix = path + ":" + std::to_string(line) + ": ";
        EXPECT_EQ(drawing.result, 1);
        EXPECT_EQ(drawing.output, "error: could not parse file " + path + "\n");
        EXPECT_EQ(drawing.errors.compare(0, prefix.size(), prefix), 0) << drawing.errors;
        EXPECT_GT(drawing.errors.size(), prefix.size() + 1);
        EXPECT_EQ(drawing.errors.find('\n'), drawing.errors.size() - 1) << drawing.errors;
        EXPECT_TRUE(drawing.keynote->shapes.empty());
    }
}

}  // namespace
