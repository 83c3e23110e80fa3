#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

const std::string black = "0.000000 0.000000 0.000000 1.000000";
const std::string green = "0.000000 1.000000 0.000000 1.000000";
const std::string longWord = repeated("abcdefghij", 1000);
const std::string longFraction = "0." + repeated("1", 10000);
const std::string square = " l 1 0 0 1 -1 0 0 -1";

struct Case {
    const char* what;
    std::string body;
    std::string fill;  // the one shape's fill colour
};

}  // namespace

// Big geometry, names and tokens far beyond any fixed buffer: the text around
// them is still read as written, so the shape and its fill come out as
// without them.
TEST(LargeInput, BigValuesAndLongTokensLeaveTheRestIntact) {
    const Case cases[] = {
        {"1 MB of path data", "<path d='M 0 0" + repeated(square, (1 << 20) / square.size()) + "'/>", black},
        {"100 000 numbers of points",
         "<polygon fill='lime' points='" + repeated("1,2 3,4 ", 25000) + "'/>", green},
        {"100 000 numbers of one line command", "<path fill='lime' d='M 0 0 L" + repeated(" 5 5", 50000) + "'/>",
         green},
        {"element name", "<" + longWord + "><rect width='1' height='1'/></" + longWord + ">", black},
        {"attribute name", "<rect " + longWord + "='1' width='1' height='1' fill='lime'/>", green},
        {"number in path data", "<path fill='lime' d='M 0 0 L " + longFraction + " 5 L 5 5'/>", green},
        {"word in path data", "<path fill='lime' d='M 0 0 L 5 5 " + longWord + " 1 1 L 9 0'/>", green},
        {"number in points", "<polygon fill='lime' points='0,0 " + longFraction + ",5 5,5'/>", green},
        {"transform keyword",
         "<g transform='" + longWord + "(5) translate(1 1)'><rect width='1' height='1' fill='lime'/></g>", green},
        {"transform number",
         "<g transform='translate(" + longFraction + ",1)'><rect width='1' height='1' fill='lime'/></g>", green},
        {"style name and value", "<rect width='1' height='1' style='" + longWord + ":" + longWord + ";fill:lime'/>",
         green},
        {"style number", "<rect width='1' height='1' style='stroke-width:" + longFraction + ";fill:lime'/>", green},
        {"1 000 style declarations",
         "<rect width='1' height='1' style='" + repeated("stroke-width:1;", 999) + "fill:lime'/>", green},
        {"colour value", "<rect width='1' height='1' fill='#" + repeated("f", 10000) + "'/>", black},
        {"colour keyword", "<rect width='1' height='1' fill='lime" + longWord + "'/>", black},
        {"viewBox number", "<svg viewBox='0 0 " + longFraction + " 100'/><rect width='1' height='1' fill='lime'/>",
         green},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DocumentCheck::Document document(converted(drawing(c.body)));
        EXPECT_EQ(document.drawableValues("fill-style", "fill-color"), std::vector<std::string>{c.fill});
    }
}

TEST(LargeInput, LongTextFontNameAndDashPatternAreKept) {
    const std::string text = repeated("Lorem ipsum ", 1000) + "end";
    const std::string font = repeated("Family ", 1500) + "Sans";
    const std::string pattern = repeated("4,2,", 2500) + "1";
    const DocumentCheck::Document document(converted(drawing(
        "<text font-family='" + font + "' font-size='12'>" + text + "</text>" +
        "<line x2='10' y2='10' stroke='red' stroke-dasharray='" + pattern + "'/>")));
    EXPECT_EQ(document.texts(), std::vector<std::string>{text});
    EXPECT_EQ(document.drawableValues("content", "font-name"), std::vector<std::string>{font});
    // The pattern may be cut, but only to a prefix.
    const std::vector<std::string> written = document.drawableValues("dash-style", "pattern");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_FALSE(written[0].empty());
    EXPECT_EQ(pattern.compare(0, written[0].size(), written[0]), 0) << written[0].substr(0, 100);
}

// A group's long paint values reach each of its many shapes; the time for
// the whole drawing must grow with its size, not with size times shapes.
TEST(LargeInput, LongInheritedValuesConvertInBoundedTime) {
    const std::size_t length = 300000, shapes = 10000;
    const std::string attributes[] = {
        "style='fill:red;" + repeated("stroke-width:1;", length / 15) + "'",
        "fill='" + repeated("a", length) + "' stroke='" + repeated("b", length) + "'",
        "fill='" + repeated(" ", length) + "red' opacity='" + repeated(" ", length) + "0.5'",
        "stroke='red' stroke-width='" + repeated(" ", length) + "2' stroke-dasharray='" +
            repeated("1,", length / 2) + "1'",
    };
    for (const std::string& attribute : attributes) {
        SCOPED_TRACE(attribute.substr(0, 40));
        const std::string body = "<g " + attribute + ">" + repeated("<rect width='1' height='1'/>", shapes) + "</g>";
        EXPECT_EQ(DocumentCheck::Document(converted(drawing(body))).drawables().size(), shapes);
    }
}

// 250 groups deep, each moving by one, or after 100 000 empty siblings that
// scale and paint: the shape carries exactly the transforms of its ancestors.
TEST(LargeInput, NestingAndSiblingsPassOnOnlyTheirOwnTransforms) {
    const std::pair<std::string, const char*> cases[] = {
        {repeated("<g transform='translate(1,0)'>", 250) + "<rect width='10' height='10'/>" + repeated("</g>", 250),
         "0.100000 0.000000 0.000000 0.100000 250.000000 0.000000"},
        {repeated("<g transform='scale(2)' fill='red'/>", 100000) + "<rect width='10' height='10'/>",
         "0.100000 0.000000 0.000000 0.100000 0.000000 0.000000"},
    };
    for (const auto& [body, transformation] : cases) {
        const DocumentCheck::Document document(converted(drawing(body)));
        EXPECT_EQ(document.drawableValues("shape", "transformation"), std::vector<std::string>{transformation});
        EXPECT_EQ(document.drawableValues("fill-style", "fill-color"), std::vector<std::string>{black});
    }
}

TEST(LargeInput, NestingBeyondTheParserLimitIsRefused) {
    for (int depth : {300, 10000}) {
        SCOPED_TRACE(depth);
        expectUnparsable(drawing(repeated("<g>", depth) + "<rect width='1' height='1'/>" + repeated("</g>", depth)));
    }
}
