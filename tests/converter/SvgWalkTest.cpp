#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;
using Orvane::Path;

void writeColor(std::ostream& out, const Path::Color& color) {
    const float* c = color.color[0];
    out << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
}

// "fill(r,g,b,a) stroke(r,g,b,a w) at(x,y)": the paints in the order added
// and the path's first point.
std::string summary(const Path& path) {
    std::ostringstream out;
    for (const Path::Fill& fill : path.fills) writeColor(out << "fill(", fill.color), out << ") ";
    for (const Path::Stroke& stroke : path.strokes) {
        writeColor(out << "stroke(", stroke.color);
        out << " w" << stroke.width << (stroke.solid ? "" : " dashed") << ") ";
    }
    if (!path.segments.empty())
        out << "at(" << path.segments[0].start.x << "," << path.segments[0].start.y << ")";
    return out.str();
}

const char* const entities =
    "<!DOCTYPE svg [\n<!ENTITY st0 \"fill:red\">\n<!ENTITY colour \"blue\">\n"
    "<!ENTITY again \"&colour;\">\n<!ENTITY shift \"translate(5,0)\">\n<!ENTITY nothing \"\">\n"
    "]>\n";

TEST(Walk, InheritancePaintAndPlacementOfOnePath) {
    const std::string r = "<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\"";
    const std::string rect = r + "/>";
    struct Case {
        const char* name;
        std::string body;
        const char* expected;
    } cases[] = {
        {"fill inherited", "<g fill=\"red\"><g>" + rect + "</g></g>", "fill(1,0,0,1) at(1,2)"},
        {"stroke and width inherited", "<g stroke=\"blue\" stroke-width=\"3\">" + rect + "</g>",
         "fill(0,0,0,1) stroke(0,0,1,1 w3) at(1,2)"},
        {"dash pattern inherited", "<g stroke=\"red\" stroke-dasharray=\"4 2\">" + rect + "</g>",
         "fill(0,0,0,1) stroke(1,0,0,1 w1 dashed) at(1,2)"},
        {"opacity inherited", "<g fill=\"red\" opacity=\"0.5\">" + rect + "</g>",
         "fill(1,0,0,0.5) at(1,2)"},
        {"style inherited", "<g style=\"fill:blue\">" + rect + "</g>", "fill(0,0,1,1) at(1,2)"},
        {"own value wins", "<g fill=\"red\" stroke=\"red\">" + r + " fill=\"blue\" stroke=\"none\"/></g>",
         "fill(0,0,1,1) at(1,2)"},
        {"upper-case attribute name", "<g FILL=\"red\">" + rect + "</g>", "fill(1,0,0,1) at(1,2)"},
        {"transform applies once", "<g transform=\"translate(10,0)\">" + rect + "</g>",
         "fill(0,0,0,1) at(11,2)"},
        {"geometry is not inherited", "<g x=\"50\" y=\"60\"><rect width=\"3\" height=\"4\"/></g>",
         "fill(0,0,0,1) at(0,0)"},
        {"unknown containers act as groups",
         "<widget transform=\"translate(5,6)\"><switch fill=\"red\">" + rect + "</switch></widget>",
         "fill(1,0,0,1) at(6,8)"},
        {"transform of an element missing its radius",
         "<circle transform=\"translate(5,0)\">" + rect + "</circle>", "fill(0,0,0,1) at(6,2)"},
        {"nested svg viewBox", "<svg width=\"50\" height=\"50\" viewBox=\"0 0 100 100\">" + rect +
                                   "</svg>",
         "fill(0,0,0,1) at(0.5,1)"},
        {"fill none", r + " fill=\"none\"/>", "at(1,2)"},
        {"style declaring fill none", r + " style=\"fill:none;stroke:#000\"/>",
         "stroke(0,0,0,1 w1) at(1,2)"},
        {"inherited style declaring fill none", "<g style=\"fill:none\">" + rect + "</g>",
         "at(1,2)"},
        {"style first, attributes after", r + " style=\"fill:red;stroke:red\" fill=\"blue\""
                                              " stroke=\"blue\"/>",
         "fill(1,0,0,1) fill(0,0,1,1) stroke(1,0,0,1 w1) stroke(0,0,1,1 w1) at(1,2)"},
        {"own style replaces the inherited one",
         "<g style=\"fill:red\">" + r + " style=\"stroke:blue\"/></g>",
         "fill(0,0,0,1) stroke(0,0,1,1 w1) at(1,2)"},
        {"opacity reaches the default fill", r + " opacity=\"0.25\"/>", "fill(0,0,0,0.25) at(1,2)"},
        {"stroke width follows the area scale",
         "<g transform=\"scale(2,8)\">" + r + " style=\"stroke:red;stroke-width:3\"/></g>",
         "fill(0,0,0,1) stroke(1,0,0,1 w12) at(2,16)"},
        {"own rotation keeps the width", r + " transform=\"matrix(0,1,-1,0,0,0)\" stroke=\"red\"/>",
         "fill(0,0,0,1) stroke(1,0,0,1 w1) at(-2,1)"},
        {"style from an entity", r + " style=\"&st0;\"/>", "fill(1,0,0,1) at(1,2)"},
        {"entity within an entity", "<g fill=\"&again;\">" + rect + "</g>",
         "fill(0,0,1,1) at(1,2)"},
        {"text around an entity", r + " style=\"stroke:none;fill:&colour;;\"/>",
         "fill(0,0,1,1) at(1,2)"},
        {"transform from an entity", r + " transform=\"&shift;\"/>", "fill(0,0,0,1) at(6,2)"},
        {"entity expanding to nothing", r + " fill=\"&nothing;\"/>", "fill(0,0,0,1) at(1,2)"},
        {"empty values", r + " fill=\"\" style=\"\" transform=\"\"/>", "fill(0,0,0,1) at(1,2)"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ConvertedDrawing drawing(svgDocument(row.body, "", entities));
        ASSERT_EQ(drawing.result, 0);
        ASSERT_EQ(drawing.paths().size(), 1u);
        EXPECT_EQ(summary(*drawing.paths()[0]), row.expected);
    }
}

TEST(Walk, SiblingsStartAgainFromTheirParentsState) {
    const std::string rect = "<rect width=\"1\" height=\"1\"/>";
    ConvertedDrawing drawing(svgDocument("<g fill=\"red\" transform=\"translate(10,0)\">" + rect +
                                         "</g><g>" + rect + "</g><rect fill=\"blue\" width=\"1\""
                                         " height=\"1\"/>" + rect));
    const char* const expected[] = {"fill(1,0,0,1) at(10,0)", "fill(0,0,0,1) at(0,0)",
                                    "fill(0,0,1,1) at(0,0)", "fill(0,0,0,1) at(0,0)"};
    ASSERT_EQ(drawing.paths().size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(summary(*drawing.paths()[i]), expected[i]) << i;
}

TEST(Walk, DrawsWhatTheDocumentShowsAndNothingElse) {
    const std::string rect = "<rect width=\"3\" height=\"4\"/>";
    struct Case {
        const char* name;
        std::string body;
        std::size_t paths, texts;
    } cases[] = {
        {"every shape", "<circle r=\"1\"/><ellipse rx=\"1\" ry=\"2\"/>" + rect +
                            "<path d=\"M0 0L1 1\"/><polygon points=\"0 0 1 1 1 0\"/>"
                            "<polyline points=\"0 0 1 1\"/><line x2=\"1\" y2=\"1\"/><text>t</text>",
         7, 1},
        {"upper-case names", "<CIRCLE R=\"5\"/><Rect WIDTH=\"1\" HEIGHT=\"1\"/>", 2, 0},
        {"prefixed element", "<s:circle xmlns:s=\"http://www.w3.org/2000/svg\" r=\"1\"/>", 1, 0},
        {"undeclared prefix on a container", "<ns:g>" + rect + "</ns:g>", 1, 0},
        {"required attribute missing",
         "<circle cx=\"1\"/><ellipse rx=\"1\"/><rect width=\"1\"/><line y2=\"1\"/><path/>"
         "<polygon/><polyline/><g r=\"5\"><circle/></g>",
         0, 0},
        {"empty required values", "<path d=\"\"/><circle r=\"\"/><polygon points=\"\"/>", 3, 0},
        {"children of a shape missing its attribute", "<circle>" + rect + "</circle>", 1, 0},
        {"comments, text and instructions", "<!-- c -->loose text<?pi x?>", 0, 0},
        {"never-drawn containers", "<defs>" + rect + "</defs><clipPath>" + rect + "</clipPath>"
                                   "<mask>" + rect + "</mask><symbol>" + rect + "</symbol><marker>" +
                                   rect + "</marker><PATTERN>" + rect + "</PATTERN>",
         0, 0},
        {"defs deep inside", "<g><defs><g>" + rect + "<text>t</text></g></defs></g>" + rect, 1, 0},
        {"display none", "<rect display=\" none \" width=\"3\" height=\"4\"/><g display=\"none\">" +
                             rect + "</g><text display=\"none\">t</text>",
         0, 0},
        {"display none in the own style", "<g style=\"fill:red; display : none ;\">" + rect + "</g>",
         0, 0},
        {"other display values", "<g display=\"inline\" style=\"display:block\">" + rect + "</g>",
         1, 0},
        {"hidden element hides no sibling", "<g display=\"none\"/>" + rect, 1, 0},
        {"text inside text", "<text>a<text>b</text></text>", 0, 2},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ConvertedDrawing drawing(svgDocument(row.body));
        EXPECT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.output + drawing.errors, "");
        EXPECT_EQ(drawing.paths().size(), row.paths);
        EXPECT_EQ(drawing.texts().size(), row.texts);
    }
}

TEST(Walk, RectangleCornerRadii) {
    struct Case {
        const char* attributes;
        float rx, ry;  // 0, 0 for square corners
    } cases[] = {
        {"width=\"100\" height=\"100\"", 0, 0},
        {"width=\"100\" height=\"100\" rx=\"5\"", 5, 5},
        {"width=\"100\" height=\"100\" ry=\"4\"", 4, 4},
        {"width=\"100\" height=\"100\" rx=\"10\" ry=\"2\"", 10, 2},
        {"width=\"100\" height=\"100\" rx=\"0\"", 0, 0},
        {"width=\"100\" height=\"100\" rx=\"-3\" ry=\"-3\"", 0, 0},
        {"width=\"100\" height=\"100\" rx=\"-3\" ry=\"6\"", 6, 6},
        {"width=\"40\" height=\"20\" rx=\"30\"", 20, 10},
        {"width=\"40\" height=\"20\" rx=\"8\" ry=\"15\"", 8, 10},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.attributes);
        ConvertedDrawing drawing(svgDocument(std::string("<rect x=\"10\" y=\"20\" ") +
                                             row.attributes + "/>"));
        ASSERT_EQ(drawing.paths().size(), 1u);
        ASSERT_FALSE(drawing.paths()[0]->segments.empty());
        const Orvane::PathSegment& first = drawing.paths()[0]->segments[0];
        EXPECT_EQ(first.straight, row.rx == 0);
        // A rounded outline starts with the corner from (x + width - rx, y) to (x + width, y + ry).
        if (!first.straight) {
            EXPECT_EQ(first.end.x - first.start.x, row.rx);
            EXPECT_EQ(first.end.y - first.start.y, row.ry);
        }
    }
}

TEST(Walk, SvgElementSetsTheSlideSize) {
    struct Case {
        const char* rootAttributes;
        const char* body;
        int width, height;
    } cases[] = {
        {"width=\"400\" height=\"300\"", "", 400, 300},
        {"width=\"100%\" height=\"300\"", "", 800, 600},
        {"width=\"400\"", "", 800, 600},
        {"WIDTH=\"100.7\" Height=\"50.2\"", "", 100, 50},
        {"width=\"0\" height=\"300\"", "", 800, 600},
        {"width=\"-400\" height=\"300\"", "", 800, 600},
        {"width=\"\" height=\"wide\"", "", 800, 600},
        {"width=\"99999999999\" height=\"300\"", "", 800, 600},
        {"width=\"100%\" height=\"100%\" viewBox=\"0 0 1024 768\"", "", 1024, 768},
        {"width=\"0\" height=\"0\" viewbox=\"0 0 320 200\"", "", 320, 200},
        {"width=\"400\" height=\"300\" viewBox=\"0 0 10 10\"", "", 400, 300},
        {"width=\"400\" height=\"300\"", "<svg width=\"200\" height=\"100\"/>", 200, 100},
        {"width=\"400\" height=\"300\"", "<g><svg width=\"50%\" height=\"9\"/></g>", 800, 600},
        {"width=\"400\" height=\"300\"", "<svg width=\"0\" height=\"100\"/>", 400, 300},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.rootAttributes) + row.body);
        ConvertedDrawing drawing(svgDocument(row.body, row.rootAttributes));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(drawing.keynote->width, row.width);
        EXPECT_EQ(drawing.keynote->height, row.height);
    }
}

std::string nestedGroups(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) open += "<g transform=\"translate(1,0)\">", close += "</g>";
    return open + "<rect width=\"1\" height=\"1\"/>" + close;
}

// The parser refuses nesting past its limit; what it accepts is walked with
// every level's transform.
TEST(Walk, DeepNesting) {
    ConvertedDrawing accepted(svgDocument(nestedGroups(240)));
    ASSERT_EQ(accepted.paths().size(), 1u);
    EXPECT_EQ(summary(*accepted.paths()[0]), "fill(0,0,0,1) at(240,0)");
    ConvertedDrawing refused(svgDocument(nestedGroups(300)));
    EXPECT_EQ(refused.result, 1);
    EXPECT_TRUE(refused.keynote->shapes.empty());
}

TEST(Walk, BillionLaughsConvertsOrFailsCleanly) {
    std::string prolog = "<!DOCTYPE svg [\n<!ENTITY lol0 \"fill:red;\">\n";
    for (int level = 1; level <= 9; ++level) {
        std::string previous = "&lol" + std::to_string(level - 1) + ";";
        prolog += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) prolog += previous;
        prolog += "\">\n";
    }
    ConvertedDrawing drawing(
        svgDocument("<rect style=\"&lol9;\" width=\"1\" height=\"1\"/>", "", prolog + "]>\n"));
    if (drawing.result == 1) {
        EXPECT_EQ(drawing.output, "error: could not parse file " + drawing.input.string() + "\n");
    } else {
        EXPECT_EQ(drawing.paths().size(), 1u);
    }
}

std::size_t segmentCount(const Path& path) {
    std::size_t count = path.segments.size();
    for (const Path* subpath : path.subpaths) count += segmentCount(*subpath);
    return count;
}

// A large entity that the parser accepts, referenced again and again: values
// are expanded whole until the document's budget is spent, never beyond it.
TEST(Walk, RepeatedLargeEntitiesStayBounded) {
    const std::size_t pairs = 2500, references = 400;
    std::string figure, body;
    for (std::size_t i = 0; i < pairs; ++i) figure += "L1 1 L0 0 ";
    for (std::size_t i = 0; i < references; ++i) body += "<path d=\"M0 0 &figure;\"/>";
    ConvertedDrawing drawing(
        svgDocument(body, "", "<!DOCTYPE svg [\n<!ENTITY figure \"" + figure + "\">\n]>\n"));
    ASSERT_EQ(drawing.paths().size(), references);
    EXPECT_EQ(segmentCount(*drawing.paths()[0]), 2 * pairs);
    std::size_t segments = 0;
    for (const Path* path : drawing.paths()) segments += segmentCount(*path);
    EXPECT_LT(segments, pairs * references);
}

TEST(Walk, UnparsableFilesSayWhereTheyBroke) {
    struct Case {
        const char* document;
        int line;
    } cases[] = {
        {"<svg>\n<g>\n<rect></g></svg>\n", 3},
        {"", 1},
        {"not xml", 1},
        {"<svg>\n<rect fill=\"&missing;\"/></svg>\n", 2},
        {"<!DOCTYPE svg [\n<!ENTITY ext SYSTEM \"/etc/hostname\">\n]>\n<svg fill=\"&ext;\"/>\n", 4},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.document);
        ConvertedDrawing drawing(row.document);
        const std::string path = drawing.input.string();
        const std::string prefix = path + ":" + std::to_string(row.line) + ": ";
        EXPECT_EQ(drawing.result, 1);
        EXPECT_EQ(drawing.output, "error: could not parse file " + path + "\n");
        EXPECT_EQ(drawing.errors.compare(0, prefix.size(), prefix), 0) << drawing.errors;
        EXPECT_GT(drawing.errors.size(), prefix.size() + 1);
        EXPECT_EQ(drawing.errors.find('\n'), drawing.errors.size() - 1) << drawing.errors;
        EXPECT_TRUE(drawing.keynote->shapes.empty());
    }
}

}  // namespace
