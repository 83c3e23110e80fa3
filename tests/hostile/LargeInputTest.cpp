#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

const std::string black = "0.000000 0.000000 0.000000 1.000000";
const std::string green = "0.000000 1.000000 0.000000 1.000000";

std::string convertedDocument(const std::string& svg) {
    Scratch scratch;
    scratch.write("in.svg", svg);
    ProgramResult run = runProgram(scratch, {"in.svg"});
    return expectConverted(scratch, run, "in.key");
}

std::vector<std::string> fillColors(const DocumentCheck::Document& document) {
    return document.drawableValues("fill-style", "fill-color");
}

const std::string longWord = repeated("abcdefghij", 1000);
const std::string longFraction = "0." + repeated("1", 10000);

}  // namespace

TEST(LargeInput, BigGeometryConvertsToOneShape) {
    std::string square = " l 1 0 0 1 -1 0 0 -1";
    struct Case {
        const char* what;
        std::string body;
    } cases[] = {
        {"1 MB of path data",
         "<path d='M 0 0" + repeated(square, (1 << 20) / square.size()) + "'/>"},
        {"100 000 numbers of points",
         "<polyline fill='none' stroke='red' points='" + repeated("1,2 3,4 ", 25000) + "'/>"},
        {"100 000 numbers of one line command",
         "<path d='M 0 0 L" + repeated(" 5 5", 50000) + "'/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentCheck::Document document(convertedDocument(drawing(c.body)));
        EXPECT_EQ(document.drawableCount(), 1u);
    }
}

// Names and tokens far beyond any fixed buffer: the text around them is still
// read as written, so the shape and its fill come out as without them.
TEST(LargeInput, LongNamesAndTokensLeaveTheRestIntact) {
    struct Case {
        const char* what;
        std::string body;
        std::string fill;
    } cases[] = {
        {"element name", "<" + longWord + "><rect width='1' height='1'/></" + longWord + ">",
         black},
        {"attribute name", "<rect " + longWord + "='1' width='1' height='1' fill='lime'/>", green},
        {"number in path data", "<path fill='lime' d='M 0 0 L " + longFraction + " 5 L 5 5'/>",
         green},
        {"word in path data", "<path fill='lime' d='M 0 0 L 5 5 " + longWord + " 1 1 L 9 0'/>",
         green},
        {"number in points", "<polygon fill='lime' points='0,0 " + longFraction + ",5 5,5'/>",
         green},
        {"transform keyword",
         "<g transform='" + longWord +
             "(5) translate(1 1)'><rect width='1' height='1' fill='lime'/></g>",
         green},
        {"transform number",
         "<g transform='translate(" + longFraction +
             ",1)'><rect width='1' height='1' fill='lime'/></g>",
         green},
        {"style property name and value",
         "<rect width='1' height='1' style='" + longWord + ":" + longWord + ";fill:lime'/>", green},
        {"style number",
         "<rect width='1' height='1' style='stroke-width:" + longFraction + ";fill:lime'/>", green},
        {"colour value", "<rect width='1' height='1' fill='#" + repeated("f", 10000) + "'/>",
         black},
        {"colour keyword", "<rect width='1' height='1' fill='lime" + longWord + "'/>", black},
        {"viewBox number",
         "<svg viewBox='0 0 " + longFraction + " 100'/><rect width='1' height='1' fill='lime'/>",
         green},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentCheck::Document document(convertedDocument(drawing(c.body)));
        EXPECT_EQ(document.drawableCount(), 1u);
        EXPECT_EQ(fillColors(document), std::vector<std::string>{c.fill});
    }
}

TEST(LargeInput, LongTextAndFontNameAreKeptWhole) {
    const std::string text = repeated("Lorem ipsum ", 1000) + "end";
    const std::string font = repeated("Family ", 1500) + "Sans";
    DocumentCheck::Document document(convertedDocument(
        drawing("<text font-family='" + font + "' font-size='12'>" + text + "</text>")));
    EXPECT_EQ(document.texts(), std::vector<std::string>{text});
    EXPECT_EQ(document.drawableValues("content", "font-name"), std::vector<std::string>{font});
}

TEST(LargeInput, LongDashPatternIsCutToAPrefix) {
    const std::string pattern = repeated("4,2,", 2500) + "1";
    DocumentCheck::Document document(convertedDocument(
        drawing("<line x2='10' y2='10' stroke='red' stroke-dasharray='" + pattern + "'/>")));
    std::vector<std::string> written = document.drawableValues("dash-style", "pattern");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_FALSE(written[0].empty());
    EXPECT_EQ(pattern.compare(0, written[0].size(), written[0]), 0) << written[0].substr(0, 100);
}

TEST(LargeInput, ThousandStyleDeclarationsKeepTheLastOne) {
    DocumentCheck::Document document(convertedDocument(drawing(
        "<rect width='1' height='1' style='" + repeated("stroke-width:1;", 999) + "fill:lime'/>")));
    EXPECT_EQ(fillColors(document), std::vector<std::string>{green});
}

// A group's long paint values reach each of its many shapes; the time for
// the whole drawing must grow with its size, not with size times shapes.
TEST(LargeInput, LongInheritedValuesConvertInBoundedTime) {
    const std::size_t length = 300000;
    const std::size_t shapes = 10000;
    struct Case {
        const char* what;
        std::string attributes;
    } cases[] = {
        {"style", "style='fill:red;" + repeated("stroke-width:1;", length / 15) + "'"},
        {"fill", "fill='" + repeated("a", length) + "'"},
        {"fill after white space", "fill='" + repeated(" ", length) + "red'"},
        {"stroke", "stroke='" + repeated("b", length) + "'"},
        {"opacity after white space", "opacity='" + repeated(" ", length) + "0.5'"},
        {"stroke width after white space",
         "stroke='red' stroke-width='" + repeated(" ", length) + "2'"},
        {"dash pattern", "stroke='red' stroke-dasharray='" + repeated("1,", length / 2) + "1'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string body = "<g " + c.attributes + ">" +
                           repeated("<rect width='1' height='1'/>", shapes) + "</g>";
        DocumentCheck::Document document(convertedDocument(drawing(body)));
        EXPECT_EQ(document.drawableCount(), shapes);
    }
}

TEST(LargeInput, NestingWithinTheParserLimitCarriesEveryTransform) {
    const int depth = 250;
    std::string body = repeated("<g transform='translate(1,0)'>", depth) +
                       "<rect width='10' height='10'/>" + repeated("</g>", depth);
    DocumentCheck::Document document(convertedDocument(drawing(body)));
    EXPECT_EQ(document.drawableValues("shape", "transformation"),
              std::vector<std::string>{"0.100000 0.000000 0.000000 0.100000 250.000000 0.000000"});
}

TEST(LargeInput, NestingBeyondTheParserLimitIsRefused) {
    for (int depth : {300, 10000}) {
        SCOPED_TRACE(depth);
        Scratch scratch;
        scratch.write("in.svg", drawing(repeated("<g>", depth) + "<rect width='1' height='1'/>" +
                                        repeated("</g>", depth)));
        auto before = scratch.snapshot();
        ProgramResult run = runProgram(scratch, {"in.svg"});
        expectRefused(run, before, scratch.snapshot());
        EXPECT_EQ(run.out, parseFailure("in.svg"));
    }
}

TEST(LargeInput, HundredThousandSiblingsLeaveNothingToTheLast) {
    std::string body =
        repeated("<g transform='scale(2)' fill='red'/>", 100000) + "<rect width='10' height='10'/>";
    DocumentCheck::Document document(convertedDocument(drawing(body)));
    EXPECT_EQ(document.drawableValues("shape", "transformation"),
              std::vector<std::string>{"0.100000 0.000000 0.000000 0.100000 0.000000 0.000000"});
    EXPECT_EQ(fillColors(document), std::vector<std::string>{black});
}
