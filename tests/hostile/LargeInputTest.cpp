#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

const std::string black = "0.000000 0.000000 0.000000 1.000000";
const std::string green = "0.000000 1.000000 0.000000 1.000000";
const std::string longWord = repeated("abcdefghij", 1000);
const std::string longFraction = "0." + repeated("1", 10000);
const std::string square = " l 1 0 0 1 -1 0 0 -1";

}  // namespace

// Big geometry, names and tokens far beyond any fixed buffer: the text around
// them is still read as written, so the shape and its fill come out as
// without them.
TEST(LargeInput, BigValuesAndLongTokensLeaveTheRestIntact) {
    const std::pair<std::string, std::string> cases[] = {  // body, the one shape's fill
        {"<path d='M 0 0" + repeated(square, (1 << 20) / square.size()) + "'/>", black},
        {"<polygon fill='lime' points='" + repeated("1,2 3,4 ", 25000) + "'/>", green},
        {"<" + longWord + "><rect width='1' height='1'/></" + longWord + ">", black},
        {"<rect " + longWord + "='1' width='1' height='1' fill='lime'/>", green},
        {"<path fill='lime' d='M 0 0 L " + longFraction + " 5 L 5 5'/>", green},
        {"<path fill='lime' d='M 0 0 L 5 5 " + longWord + " 1 1 L 9 0'/>", green},
        {"<g transform='" + longWord + "(5) translate(" + longFraction + " 1)'><rect width='1' height='1' "
         "fill='lime'/></g>", green},
        {"<rect width='1' height='1' style='" + longWord + ":" + longWord + ";stroke-width:" + longFraction +
             ";" + repeated("stroke-width:1;", 999) + "fill:lime'/>", green},
        {"<rect width='1' height='1' fill='#" + repeated("f", 10000) + "'/>", black},
        {"<rect width='1' height='1' fill='lime" + longWord + "'/>", black},
        {"<svg viewBox='0 0 " + longFraction + " 100'/><rect width='1' height='1' fill='lime'/>", green},
        // A text longer than the 10 MB libxml2 lets one tree node hold.
        {"<text>" + repeated(longWord, 1100) + "</text><rect width='1' height='1' fill='lime'/>", green},
    };
    for (const auto& [body, fill] : cases) {
        SCOPED_TRACE(body.substr(0, 80));
        EXPECT_EQ(drawableValues(converted(drawing(body)), "fill-color"), std::vector<std::string>{fill});
    }
}

// Text and font names are kept whole; a dash pattern may be cut, but only to
// a prefix of the dashes and gaps written as multiples of the stroke width.
TEST(LargeInput, LongTextFontNameAndDashPatternAreKept) {
    const std::string text = repeated("Lorem ipsum ", 1000) + "end";
    const std::string font = repeated("Family ", 1500) + "Sans";
    const std::string pattern = repeated("4,2,", 2500) + "1";
    const std::string document =
        converted(drawing("<text font-family='" + font + "'>" + text + "</text>" +
                          "<line x2='10' y2='10' fill='none' stroke='red' stroke-dasharray='" + pattern + "'/>"));
    EXPECT_NE(document.find("<![CDATA[" + text + "]]>"), std::string::npos);
    EXPECT_EQ(drawableValues(document, "font-name"), std::vector<std::string>{font});
    const std::vector<std::string> written = drawableValues(document, "pattern");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_FALSE(written[0].empty());
    const std::string multiples = repeated("4.000000 2.000000 ", 2500);
    EXPECT_EQ(multiples.compare(0, written[0].size(), written[0]), 0) << written[0].substr(0, 100);
}

// A group's long paint values reach each of its many shapes; the time for
// the whole drawing must grow with its size, not with size times shapes.
TEST(LargeInput, LongInheritedValuesConvertInBoundedTime) {
    const std::size_t length = 300000, shapes = 10000;
    const std::string attributes[] = {
        "style='fill:red;" + repeated("stroke-width:1;", length / 15) + "'",
        "fill='" + repeated("a", length) + "' stroke='" + repeated(" ", length) + "red' stroke-width='" +
            repeated(" ", length) + "2' stroke-dasharray='" + repeated("1,", length / 2) + "1'",
    };
    for (const std::string& attribute : attributes) {
        SCOPED_TRACE(attribute.substr(0, 40));
        const std::string body = "<g " + attribute + ">" + repeated("<rect width='1' height='1'/>", shapes) + "</g>";
        EXPECT_EQ(drawableValues(converted(drawing(body)), "path").size(), shapes);
    }
}

// 250 groups deep, each moving by one, or after 100 000 empty siblings that
// scale and paint: the shape carries exactly the transforms of its ancestors.
// Nesting beyond the parser's limit is refused.
TEST(LargeInput, NestingAndSiblingsPassOnOnlyTheirOwnTransforms) {
    const std::pair<std::string, const char*> cases[] = {
        {repeated("<g transform='translate(1,0)'>", 250) + "<rect width='10' height='10'/>" + repeated("</g>", 250),
         "0.100000 0.000000 0.000000 0.100000 250.000000 0.000000"},
        {repeated("<g transform='scale(2)' fill='red'/>", 100000) + "<rect width='10' height='10'/>",
         "0.100000 0.000000 0.000000 0.100000 0.000000 0.000000"},
    };
    for (const auto& [body, transformation] : cases) {
        const std::string document = converted(drawing(body));
        EXPECT_EQ(drawableValues(document, "transformation"), std::vector<std::string>{transformation});
        EXPECT_EQ(drawableValues(document, "fill-color"), std::vector<std::string>{black});
    }
    expectUnparsable(drawing(repeated("<g>", 300) + "<rect width='1' height='1'/>" + repeated("</g>", 300)));
}
