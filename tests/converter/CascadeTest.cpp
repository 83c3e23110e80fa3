#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

std::string summaryOf(const std::string& body) {
    ConvertedDrawing drawing(svgDocument(body));
    EXPECT_EQ(drawing.result, 0) << drawing.output;
    return drawing.summary();
}

const std::string rect = "<rect width=\"1\" height=\"1\"";

// Presentation attributes lose to sheet rules, which lose to the style
// attribute, by property; !important turns the order round, the sheet's
// before the attribute's; rules weigh by specificity, then by order.
TEST(Cascade, OriginsSpecificityAndImportance) {
    const std::pair<std::string, std::string> cases[] = {
        {"<style>rect { fill: blue }</style>" + rect + " fill=\"red\"/>", "fill(0,0,1,1) at(0,0)"},
        {"<style>rect { fill: blue }</style>" + rect + " style=\"fill:lime\"/>", "fill(0,1,0,1) at(0,0)"},
        {"<style>rect { fill: blue !important }</style>" + rect + " style=\"fill:lime\"/>",
         "fill(0,0,1,1) at(0,0)"},
        {"<style>rect { fill: blue !important }</style>" + rect + " style=\"fill:lime !important\"/>",
         "fill(0,1,0,1) at(0,0)"},
        {"<style>#a { fill: blue } .c { fill: lime } rect { fill: red }</style>" + rect +
             " id=\"a\" class=\"c\"/>",
         "fill(0,0,1,1) at(0,0)"},
        {rect + " style=\" Fill : red ; fill:blue;\"/>", "fill(0,0,1,1) at(0,0)"},
        // A sheet later in the document applies to elements before it.
        {rect + " class=\"late\"/><style>.late { stroke: blue }</style>",
         "fill(0,0,0,1) stroke(0,0,1,1 w1) at(0,0)"},
        {"<style type=\"text/x-other\">rect { fill: blue }</style>" + rect + "/>", "fill(0,0,0,1) at(0,0)"},
        {"<style><![CDATA[g > rect:first-child { fill: blue }]]></style><g>" + rect + "/>" + rect +
             "/></g>",
         "fill(0,0,1,1) at(0,0); fill(0,0,0,1) at(0,0)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(summaryOf(body), expected) << body;
}

// Inherited properties take the parent's computed value unless set;
// opacity, display and transform start again on every element; inherit
// takes the parent's value even of a property that is not inherited; a
// value the property cannot read is ignored, leaving what lower origins set.
TEST(Cascade, InheritanceAndInvalidValues) {
    const std::pair<std::string, std::string> cases[] = {
        {"<g style=\"fill:red\"><g>" + rect + " style=\"stroke:blue\"/></g></g>",
         "fill(1,0,0,1) stroke(0,0,1,1 w1) at(0,0)"},
        {"<g fill=\"red\"><g fill=\"inherit\">" + rect + "/></g></g>", "fill(1,0,0,1) at(0,0)"},
        {"<g fill=\"red\" stroke=\"blue\" stroke-width=\"3\">" + rect + " fill=\"none\"/></g>",
         "stroke(0,0,1,1 w3) at(0,0)"},
        {"<g opacity=\"0.5\"><g opacity=\"0.5\">" + rect + "/></g></g>", "fill(0,0,0,0.25) at(0,0)"},
        {"<g opacity=\"0.5\">" + rect + " opacity=\"inherit\"/></g>", "fill(0,0,0,0.25) at(0,0)"},
        {"<g transform=\"translate(5,0)\">" + rect + " transform=\"inherit\"/></g>",
         "fill(0,0,0,1) at(10,0)"},
        {"<g display=\"none\">" + rect + " display=\"inline\"/></g>", ""},
        {rect + " stroke=\"blue\" stroke-width=\"4\" style=\"stroke-width:-2\"/>",
         "fill(0,0,0,1) stroke(0,0,1,1 w4) at(0,0)"},
        {rect + " visibility=\"hidden\" style=\"visibility:bogus\"/>", ""},
        {"<g fill=\"red\">" + rect + " fill=\"bogus\"/></g>", "fill(1,0,0,1) at(0,0)"},
        {"<g color=\"blue\">" + rect + " fill=\"currentColor\" color=\"inherit\"/></g>",
         "fill(0,0,1,1) at(0,0)"},
        {rect + " fill=\"url(#none) lime\"/>" + rect + " fill=\"url(#none)\"/>", "fill(0,1,0,1) at(0,0); at(0,0)"},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(summaryOf(body), expected) << body;
}

}  // namespace
