#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;
using Reported = converted::Converter;

const std::string rect = "<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\"";

// A gradient from red to blue.
std::string redToBlue(const std::string& element) {
    return "<" + element + " id=\"g\"><stop offset=\"0\" stop-color=\"red\"/>"
           "<stop offset=\"1\" stop-color=\"blue\"/></" + element + ">";
}

std::string drawn(const std::string& body, const std::string& prolog = "") {
    ConvertedDrawing drawing(svgDocument(body, "", prolog));
    EXPECT_EQ(drawing.result, 0) << body;
    return drawing.summary();
}

}  // namespace

// Fill and stroke opacity multiply their paint's alpha and are inherited;
// opacity is not inherited but multiplies down through every group.
TEST(DrawnPaint, OpacitiesMultiply) {
    const std::pair<std::string, std::string> cases[] = {
        {"<g opacity=\".5\"><g opacity=\"50%\">" + rect +
             " opacity=\".5\" fill=\"red\" stroke=\"blue\" fill-opacity=\".5\" stroke-opacity=\"25%\"/>"
             "</g></g>",
         "fill(1,0,0,0.0625) stroke(0,0,1,0.03125 w1) at(1,2)"},
        {"<g fill-opacity=\"0.5\" stroke-opacity=\"0.5\"><g opacity=\"1\">" + rect +
             " stroke=\"red\"/></g></g>",
         "fill(0,0,0,0.5) stroke(1,0,0,0.5 w1) at(1,2)"},
        {"<g opacity=\"0.5\">" + rect + " opacity=\"0.5\" fill=\"rgba(255,0,0,0.5)\"/></g>",
         "fill(1,0,0,0.125) at(1,2)"},
        {rect + " fill-opacity=\"2\" stroke=\"red\" stroke-opacity=\"-1\"/>",
         "fill(0,0,0,1) stroke(1,0,0,0 w1) at(1,2)"},
        {"<g fill-opacity=\"0.5\">" + rect + " fill-opacity=\"x\"/></g>", "fill(0,0,0,0.5) at(1,2)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(drawn(body), expected) << body;
}

// A gradient paints its average colour: a linear one the mean over its
// vector, a radial one weighted by ring area (red to blue: a third red); a
// reference that finds none paints its fallback.
TEST(DrawnPaint, GradientsPaintTheirAverageOrTheFallback) {
    const std::string filled = rect + " fill=\"url(#g)\"/>";
    const std::pair<std::string, std::string> cases[] = {
        {redToBlue("linearGradient") + filled, "fill(0.5,0,0.5,1) at(1,2)"},
        {redToBlue("linearGradient") + rect + " fill=\"none\" stroke=\"url(#g)\" opacity=\".5\"/>",
         "stroke(0.5,0,0.5,0.5 w1) at(1,2)"},
        // Stops along the href chain; this gradient's own kind decides the weights.
        {"<linearGradient id=\"a\"><stop stop-color=\"red\"/><stop offset=\"1\" stop-color=\"blue\"/>"
         "</linearGradient><radialGradient id=\"b\" xlink:href=\"#a\"/>"
         "<radialGradient id=\"g\" href=\"#b\"/>" + filled,
         "fill(0.333333,0,0.666667,1) at(1,2)"},
        // Offsets raised to the largest before them: red up to 0.8, then blue.
        {"<linearGradient id=\"g\"><stop offset=\"80%\" style=\"stop-color:red\"/>"
         "<stop offset=\"0.2\" stop-color=\"blue\"/></linearGradient>" + filled,
         "fill(0.8,0,0.2,1) at(1,2)"},
        {"<linearGradient id=\"g\"><stop offset=\"0.3\" stop-color=\"lime\" stop-opacity=\".5\"/>"
         "</linearGradient>" + filled,
         "fill(0,1,0,0.5) at(1,2)"},
        // A stop's currentColor is the colour where the gradient stands, not the shape's.
        {"<g color=\"lime\"><linearGradient id=\"g\"><stop stop-color=\"currentColor\"/>"
         "</linearGradient></g>" + rect + " color=\"red\" fill=\"url(#g)\"/>",
         "fill(0,1,0,1) at(1,2)"},
        {"<linearGradient id=\"g\"/>" + filled, "at(1,2)"},
        {"<linearGradient id=\"g\" href=\"#g\"/>" + filled, "at(1,2)"},
        // A reference that finds no gradient paints its fallback, or nothing.
        {rect + " fill=\"url(#missing) red\"/>", "fill(1,0,0,1) at(1,2)"},
        {rect + " fill=\"url(#missing)\" stroke=\"url(#missing) none\"/>", "at(1,2)"},
        {"<pattern id=\"p\"/>" + rect + " fill=\"url(#p) blue\"/>", "fill(0,0,1,1) at(1,2)"},
        {redToBlue("linearGradient") + rect + " fill=\"url(#g) lime\"/>", "fill(0.5,0,0.5,1) at(1,2)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(drawn(body), expected) << body;
}

// Each gradient painted as one colour is counted once, however many shapes
// it paints; one whose stops are alike is painted exactly and not counted.
TEST_F(Reported, GradientsAndPatterns) {
    const std::string document = svgDocument(
        redToBlue("linearGradient") + "<pattern id=\"p\"/><linearGradient id=\"one\">"
        "<stop stop-color=\"red\"/></linearGradient>" + rect + " fill=\"url(#g)\"/>" + rect +
        " stroke=\"url(#g)\"/>" + rect + " fill=\"url(#p)\"/>" + rect + " fill=\"url(#one)\"/>");
    const std::string input = converted::scratch(".svg");
    std::ofstream(input, std::ios::binary) << document;
    ASSERT_EQ(svg.convert(input.c_str()), 0);
    std::remove(input.c_str());
    EXPECT_EQ(Pictavo::Report::text(svg.report.approximatedEntries()), "1 gradient (solid colour)");
    EXPECT_EQ(Pictavo::Report::text(svg.report.notCarriedEntries()), "1 pattern");
}
