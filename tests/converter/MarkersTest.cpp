#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "converter/Markers.h"

namespace {

using Orvane::PathSegment;
using Orvane::Point;
using Pictavo::MarkerOrient;
using Pictavo::MarkerVertex;
using Pictavo::PathGeometry;

// One figure of straight lines through the points.
void addPolyline(PathGeometry& geometry, std::vector<Point> points, bool closed) {
    for (std::size_t i = 1; i < points.size(); ++i)
        geometry.segments.emplace_back(points[i - 1], points[i], true);
    geometry.figures.push_back({geometry.segments.size(), closed});
}

PathGeometry polyline(std::vector<Point> points, bool closed = false) {
    PathGeometry geometry;
    addPolyline(geometry, std::move(points), closed);
    return geometry;
}

// "x,y@angle" for each vertex.
std::string describe(const std::vector<MarkerVertex>& vertices) {
    std::string text;
    for (const MarkerVertex& vertex : vertices) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "%s%g,%g@%g", text.empty() ? "" : " ", vertex.at.x,
                      vertex.at.y, vertex.direction);
        text += entry;
    }
    return text;
}

PathGeometry curveFromItsStart() {
    PathGeometry geometry;
    PathSegment curve(Point(0, 0), Point(10, 0), false);
    curve.control1 = Point(0, 0);  // the tangent then points at the second control point
    curve.control2 = Point(10, 10);
    geometry.segments.push_back(curve);
    geometry.figures.push_back({1, false});
    return geometry;
}

PathGeometry twoFigures() {
    PathGeometry geometry = polyline({{0, 0}, {10, 0}});
    addPolyline(geometry, {{20, 20}, {20, 30}}, false);
    return geometry;
}

}  // namespace

// Screen directions: 90 points down. Mid vertices take the bisector of the
// directions in and out; open ends take the one direction they have.
TEST(MarkerVertices, PositionsAndDirections) {
    const struct {
        const char* name;
        PathGeometry geometry;
        const char* expected;
    } cases[] = {
        {"open square", polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}),
         "0,0@0 10,0@45 10,10@135 0,10@180"},
        {"closed triangle, closing segment implied",
         polyline({{0, 0}, {10, 0}, {0, 10}}, true), "0,0@-45 10,0@67.5 0,10@202.5 0,0@-45"},
        {"zero-length segments looked past",
         polyline({{0, 0}, {0, 0}, {10, 0}, {10, 0}, {10, 10}}),
         "0,0@0 0,0@0 10,0@45 10,0@45 10,10@90"},
        {"turning back", polyline({{0, 0}, {10, 0}, {0, 0}}), "0,0@0 10,0@90 0,0@180"},
        {"curve tangents from control points", curveFromItsStart(), "0,0@45 10,0@-90"},
        {"a second figure starts afresh", twoFigures(), "0,0@0 10,0@0 20,20@90 20,30@90"},
        {"a single point has no direction", polyline({{3, 4}, {3, 4}}), "3,4@0 3,4@0"},
        {"no figures", PathGeometry(), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(Pictavo::markerVertices(c.geometry)), c.expected) << c.name;
}

TEST(MarkerOrient, ReadFromTheAttribute) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"auto", "auto"},
        {" AUTO-start-reverse ", "reverse"},
        {"45", "45"},
        {"0.25turn", "90"},
        {"3.14159265rad", "180"},
        {"auto 5", "invalid"},
        {"10px", "invalid"},
    };
    for (const auto& c : cases) {
        const std::optional<MarkerOrient> orient = Pictavo::readOrient(c.text);
        char degrees[32];
        if (orient) std::snprintf(degrees, sizeof degrees, "%.5g", orient->degrees);
        const std::string read = !orient                                           ? "invalid"
                                 : orient->type == MarkerOrient::Auto             ? "auto"
                                 : orient->type == MarkerOrient::AutoStartReverse ? "reverse"
                                                                                  : degrees;
        EXPECT_EQ(read, c.expected) << c.text;
    }
}
