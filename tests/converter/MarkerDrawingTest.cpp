#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

// A marker whose content is one line 4 long from its origin along x.
std::string marker(const std::string& attributes) {
    return "<marker id=\"m\" markerUnits=\"userSpaceOnUse\" " + attributes +
           "><path d=\"M0,0 L4,0\" stroke=\"red\"/></marker>";
}

// The drawn paths after the first (the marked shape), each described.
std::string markersDrawn(const std::string& body) {
    ConvertedDrawing drawing(svgDocument(body, "xmlns:xlink=\"http://www.w3.org/1999/xlink\""));
    EXPECT_EQ(drawing.result, 0) << body;
    std::string text;
    const auto paths = drawing.paths();
    for (std::size_t i = 1; i < paths.size(); ++i)
        text += (i > 1 ? "; " : "") + converted::describe(*paths[i]);
    return text;
}

const std::string corner = "<polyline points=\"0,0 10,0 10,10\" fill=\"none\" stroke=\"black\" "
                           "marker-start=\"url(#m)\" marker-mid=\"url(#m)\" marker-end=\"url(#m)\"";

}  // namespace

// Start, mid and end markers on a polyline turned as orient says: auto along
// the bisector at the corner, auto-start-reverse backwards at the start. The
// content's placement: refX/refY onto the vertex, viewBox into markerWidth by
// markerHeight, scaled by the stroke width unless in user space; the marker
// shorthand from a style sheet; the shapes that take them.
TEST(DrawnMarkers, OrientPlacementAndShapes) {
    const std::string line = "<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"0\" stroke=\"black\"";
    const std::pair<std::string, std::string> cases[] = {
        {marker("orient=\"auto\"") + corner + "/>",
         "M0,0 L4,0; M10,0 L12.828,2.828; M10,10 L10,14"},
        {marker("orient=\"auto-start-reverse\"") + corner + "/>",
         "M0,0 L-4,0; M10,0 L12.828,2.828; M10,10 L10,14"},
        {marker("orient=\"90\"") + corner + "/>", "M0,0 L0,4; M10,0 L10,4; M10,10 L10,14"},
        {marker("") + corner + "/>", "M0,0 L4,0; M10,0 L14,0; M10,10 L14,10"},
        {marker("refX=\"2\" refY=\"1\"") + line + " marker-end=\"url(#m)\"/>", "M8,-1 L12,-1"},
        {marker("viewBox=\"0 0 2 2\" markerWidth=\"4\" markerHeight=\"4\"") + line +
             " marker-start=\"url(#m)\"/>",
         "M0,0 L8,0"},
        {"<marker id=\"m\"><path d=\"M0,0 L4,0\"/></marker>" + line +
             " stroke-width=\"3\" marker-start=\"url(#m)\"/>",
         "M0,0 L12,0"},
        {"<style>line { marker: url(#m) }</style>" + marker("") + line + "/>",
         "M0,0 L4,0; M10,0 L14,0"},
        {marker("") + line + " marker=\"url(#m)\"/>", ""},  // the shorthand is no attribute
        {marker("orient=\"auto\"") + "<polygon points=\"0,0 10,0 0,10\" marker-start=\"url(#m)\" "
             "marker-end=\"url(#m)\"/>",
         "M0,0 L2.828,-2.828; M0,0 L2.828,-2.828"},
        {marker("") + "<path d=\"M0,0 L10,0 M20,0 L30,0\" marker-mid=\"url(#m)\"/>",
         "M10,0 L14,0; M20,0 L24,0"},
        {marker("") + "<rect width=\"5\" height=\"5\" marker-start=\"url(#m)\"/>", ""},
        {marker("markerWidth=\"0\"") + line + " marker-start=\"url(#m)\"/>", ""},
        {line + " marker-start=\"url(#missing)\"/>", ""},
    };
    for (const auto& [body, expected] : cases) EXPECT_EQ(markersDrawn(body), expected) << body;
}
