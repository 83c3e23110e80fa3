#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

// The drawables' summaries, of a body in a root with the given attributes.
std::string summaryOf(const std::string& body, const std::string& root = "") {
    ConvertedDrawing drawing(svgDocument(body, root));
    EXPECT_EQ(drawing.result, 0) << drawing.output;
    return drawing.summary();
}

const std::string unit = " width=\"1\" height=\"1\"/>";

// use draws a copy of its reference moved by x and y, inheriting from the
// use; symbol and svg open viewports whose viewBox multiplies into the
// matrix; a nested svg inside a translated group is drawn where the group
// puts it.
TEST(Drawing, UseSymbolAndNestedSvgGeometry) {
    const std::pair<std::string, std::string> cases[] = {
        // The second svg is 100% of the 600 high viewport: meet scales by 2, centred vertically.
        {"<g transform=\"translate(100,100)\"><svg viewBox=\"0 0 20 20\" width=\"40\" height=\"40\">"
         "<rect x=\"5\" y=\"5\"" + unit + "</svg><svg viewBox=\"0 0 20 20\" width=\"40\"><rect x=\"5\" y=\"5\"" +
             unit + "</svg></g>",
         "fill(0,0,0,1) at(110,110); fill(0,0,0,1) at(110,390)"},
        {"<svg x=\"10\" y=\"20\"><rect x=\"1\" y=\"1\"" + unit + "</svg>", "fill(0,0,0,1) at(11,21)"},
        {"<svg width=\"0\"><rect" + unit + "</svg>", ""},
        {"<use href=\"#r\" x=\"10\" y=\"20\" transform=\"translate(100,0)\"/>"
         "<defs><rect id=\"r\" x=\"1\" y=\"2\"" + unit + "</defs>",
         "fill(0,0,0,1) at(111,22)"},
        {"<defs><rect id=\"r\"" + unit + "</defs><use xlink:href=\"#r\" fill=\"red\"/>"
         "<use xmlns:xlink=\"http://www.w3.org/1999/xlink\" xlink:href=\"#r\" fill=\"blue\"/>",
         "fill(1,0,0,1) at(0,0); fill(0,0,1,1) at(0,0)"},
        {"<symbol id=\"s\" viewBox=\"0 0 10 10\"><rect x=\"1\" y=\"1\"" + unit + "</symbol>"
         "<use href=\"#s\" x=\"5\" y=\"5\" width=\"20\" height=\"20\"/>",
         "fill(0,0,0,1) at(7,7)"},
        {"<defs><svg id=\"v\" width=\"10\" height=\"10\" viewBox=\"0 0 1 1\"><rect x=\"0.5\" y=\"0.5\"" +
             unit + "</svg></defs><use href=\"#v\" width=\"20\" height=\"20\"/><use href=\"#v\"/>",
         "fill(0,0,0,1) at(10,10); fill(0,0,0,1) at(5,5)"},
        {"<use href=\"#missing\"/><use href=\"r\"/><rect id=\"r\"" + unit, "fill(0,0,0,1) at(0,0)"},
        {"<defs><g id=\"a\"><use href=\"#b\"/></g><g id=\"b\"><rect" + unit +
             "<use href=\"#a\"/></g></defs><use href=\"#a\"/>",
         "fill(0,0,0,1) at(0,0)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(summaryOf(body), expected) << body;
}

// switch draws its first child that draws something and whose conditions
// hold; the conditions hold everywhere else too; hidden shapes are not drawn,
// though a descendant that is visible again is.
TEST(Drawing, SwitchConditionsAndVisibility) {
    const std::pair<std::string, std::string> cases[] = {
        {"<switch><rect systemLanguage=\"fr\"" + unit + "<rect systemLanguage=\"de, EN-gb\" x=\"1\"" +
             unit + "<rect x=\"2\"" + unit + "</switch>",
         "fill(0,0,0,1) at(1,0)"},
        {"<switch><rect requiredExtensions=\"\"" + unit + "<rect requiredFeatures=\"x\" x=\"3\"" + unit +
             "</switch>",
         "fill(0,0,0,1) at(3,0)"},
        {"<switch><title>t</title><g><rect x=\"4\"" + unit + "</g><rect x=\"5\"" + unit + "</switch>",
         "fill(0,0,0,1) at(4,0)"},
        {"<rect systemLanguage=\"english\"" + unit + "<rect systemLanguage=\"\"" + unit, ""},
        {"<g visibility=\"hidden\"><rect" + unit + "<rect visibility=\"visible\" x=\"1\"" + unit + "</g>",
         "fill(0,0,0,1) at(1,0)"},
        {"<rect style=\"visibility:collapse\"" + unit + "<text visibility=\"hidden\">t</text>", ""},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(summaryOf(body), expected) << body;
}

// Lengths carry units (96 px to the inch, em from the font size, per cent
// of the viewport's side or normalised diagonal); the transform turns about
// its origin; CSS transforms take units.
TEST(Drawing, UnitsAndTransformOrigin) {
    const std::pair<std::string, std::string> cases[] = {
        {"<rect x=\"50%\" y=\"10%\"" + unit, "fill(0,0,0,1) at(400,60)"},
        {"<circle cx=\"1em\" r=\"1\" font-size=\"20\"/>", "fill(0,0,0,1) at(21,0)"},
        {"<rect fill=\"none\" stroke=\"red\" stroke-width=\"10%\"" + unit, "stroke(1,0,0,1 w70.7107) at(0,0)"},
        {"<svg viewBox=\"0 0 80 60\" width=\"800\" height=\"600\"><rect x=\"50%\"" + unit + "</svg>",
         "fill(0,0,0,1) at(400,0)"},
        {"<rect transform=\"scale(2)\" transform-origin=\"10 10\"" + unit, "fill(0,0,0,1) at(-10,-10)"},
        {"<rect style=\"transform: rotate(90deg); transform-origin: 5px 5px\"" + unit,
         "fill(0,0,0,1) at(10,0)"},
        {"<rect transform=\"scale(2)\" transform-origin=\"center\"" + unit, "fill(0,0,0,1) at(-400,-300)"},
        {"<rect transform=\"translate(1cm)\" style=\"transform:bogus\"" + unit,
         "fill(0,0,0,1) at(37.795,0)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(summaryOf(body), expected) << body;
}

// The root's viewBox is mapped onto the slide as preserveAspectRatio asks.
TEST(Drawing, RootPreserveAspectRatio) {
    const std::string root = "width=\"200\" height=\"100\" viewBox=\"0 0 10 10\" ";
    const std::string body = "<rect x=\"2\" y=\"5\"" + unit;
    EXPECT_EQ(summaryOf(body, root), "fill(0,0,0,1) at(70,50)");
    EXPECT_EQ(summaryOf(body, root + "preserveAspectRatio=\"xMidYMax slice\""), "fill(0,0,0,1) at(40,0)");
}

// References that multiply stop the conversion with a message instead of
// running away.
TEST(Drawing, UseBoundStopsTheConversion) {
    std::string body = "<defs><g id=\"g0\"/>";
    for (int level = 1; level <= 8; ++level) {
        body += "<g id=\"g" + std::to_string(level) + "\">";
        for (int copy = 0; copy < 10; ++copy) body += "<use href=\"#g" + std::to_string(level - 1) + "\"/>";
        body += "</g>";
    }
    body += "</defs><use href=\"#g8\"/>";
    ConvertedDrawing drawing(svgDocument(body));
    EXPECT_EQ(drawing.result, 1);
    EXPECT_EQ(drawing.output, "error: too many elements drawn through use in " + drawing.input + "\n");
}

// What the slide cannot show is counted once per element asking for it.
TEST(Drawing, ReportCountsWhatIsLeftOut) {
    ConvertedDrawing drawing(svgDocument(
        "<g clip-path=\"url(#c)\" filter=\"url(#f)\"><rect mask=\"url(#m)\"" + unit +
        "<rect clip-path=\"none\"" + unit + "</g><image width=\"1\" height=\"1\"/><foreignObject><rect" +
        unit + "</foreignObject><defs><rect filter=\"url(#f)\"" + unit + "</defs>"
        "<use href=\"#i\"/><use href=\"#i\"/><image id=\"i\" display=\"none\"/>"));
    EXPECT_EQ(Pictavo::Report::text(drawing.report.notCarriedEntries()),
              "1 filter, 1 clip path, 1 mask, 1 image, 1 foreign object");
}

}  // namespace
