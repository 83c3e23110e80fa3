#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "presentation/Path.h"
#include "presentation/Written.h"

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

Path::Color color(float r, float g, float b, float a) {
    return {false, {{r, g, b, a}, {0, 0, 0, 1}}, 0};
}
const Path::Fill red{color(1, 0, 0, 1)};
const Path::Stroke blue{color(0, 0, 1, 1), 2, true, ""};

PathSegment curve(Point start, Point control1, Point control2, Point end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

// A figure of the segments, or of straight ones through the points; further
// figures become its subpaths.
Path* figure(const std::vector<PathSegment>& segments, bool closed = false,
             const std::vector<Path*>& subpaths = {}) {
    auto* path = new Path();
    for (const PathSegment& segment : segments) path->addSegment(segment);
    path->closed = closed;
    for (Path* subpath : subpaths) path->addSubpath(subpath);
    return path;
}
Path* polyline(const std::vector<Point>& points, bool closed = false,
               const std::vector<Path*>& subpaths = {}) {
    std::vector<PathSegment> lines;
    for (std::size_t i = 1; i < points.size(); ++i)
        lines.emplace_back(points[i - 1], points[i], true);
    return figure(lines, closed, subpaths);
}

// The example rectangle, painted as each row gives.
Path* rectangle(std::vector<Path::Fill> fills, std::vector<Path::Stroke> strokes) {
    Path* path = polyline({{10, 20}, {110, 20}, {110, 70}, {10, 20}}, true);
    path->fills = std::move(fills);
    path->strokes = std::move(strokes);
    return path;
}

std::string exported(Path* path) {
    std::unique_ptr<Path> owned(path);
    return written([&](FILE* file) { path->exportXML(file, 0); });
}

std::vector<float> boundsOf(const Path* path) {
    std::unique_ptr<const Path> owned(path);
    return {&path->bounds[0][0], &path->bounds[0][0] + 4};
}

const std::string rectangleStart =
    "<shape path=\"M 0.000000 0.000000 L 100.000000 0.000000 L 100.000000 100.000000 L 0.000000 "
    "0.000000 Z\" transformation=\"1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"";
const std::string noStroke = " stroke-color=\"0 0 0 1\" stroke-width=\"1\">\n<styles>\n";
const std::string blueStroke =
    " stroke-color=\"0.000000 0.000000 1.000000 1.000000\" stroke-width=\"2.000000\">\n<styles>\n";
const std::string noFill = "<fill-style fill-type=\"none\" />\n";
const std::string redFill =
    "<fill-style fill-type=\"color\" fill-color=\"1.000000 0.000000 0.000000 1.000000\" />\n";
const std::string noDash = "<dash-style pattern=\"none\" />\n";
const std::string solidDash = "<dash-style pattern=\"solid\" />\n";
const std::string shapeEnd = "</styles></shape>\n";

}  // namespace

// Bounds (min x, max x, min y, max y) cover the end points of every figure
// with segments, never the control points.
TEST(PathBounds, CoverEndPointsOfEveryFigureWithSegments) {
    EXPECT_EQ(boundsOf(polyline({{10, 20}, {30, 5}})), std::vector<float>({10, 30, 5, 20}));
    EXPECT_EQ(boundsOf(polyline({{0, 0}, {10, 10}, {-4, 30}, {50, -8}})),
              std::vector<float>({-4, 50, -8, 30}));
    EXPECT_EQ(
        boundsOf(polyline({{10, 10}, {20, 20}}, false, {polyline({{0, 0}, {5, 5}}), new Path()})),
        std::vector<float>({0, 20, 0, 20}));
    EXPECT_EQ(boundsOf(polyline({{0, 0}, {1, 1}}, false, {polyline({{5, 9}, {6, 7}})})),
              std::vector<float>({0, 6, 0, 9}));
    EXPECT_EQ(boundsOf(polyline({}, false, {polyline({{-3, 4}, {5, 6}}), new Path(),
                                            polyline({{7, -1}, {0, 0}})})),
              std::vector<float>({-3, 7, -1, 6}));
    Path* later = polyline({}, false, {polyline({{0, 0}, {10, 10}})});
    later->addSegment(curve({20, 20}, {0, 50}, {-40, 0}, {30, 30}));
    EXPECT_EQ(boundsOf(later), std::vector<float>({0, 30, 0, 30}));
}

TEST(PathExport, WritesOneElementPerPaintPairLastFirst) {
    const Path::Fill gradient{{true, {{1, 0, 0, 1}, {0, 0.25f, 1, 0.5f}}, -90}};
    const Path::Stroke dashed{color(0, 0, 1, 1), 2, false, "5,3\"<&>"};
    const std::pair<Path*, std::string> cases[] = {
        {rectangle({red}, {}), rectangleStart + noStroke + redFill + noDash + shapeEnd},
        {rectangle({}, {blue}), rectangleStart + blueStroke + noFill + solidDash + shapeEnd},
        {rectangle({}, {dashed}),
         rectangleStart + blueStroke + noFill +
             "<dash-style pattern=\"5,3&quot;&lt;&amp;&gt;\" />\n" + shapeEnd},
        {rectangle({red, {color(0, 1, 0, 0.5f)}}, {blue}),
         rectangleStart + noStroke +
             "<fill-style fill-type=\"color\" fill-color=\"0.000000 1.000000 0.000000 0.500000\" "
             "/>\n" + noDash + shapeEnd + rectangleStart + blueStroke + redFill + solidDash +
             shapeEnd},
        {rectangle({gradient}, {}),
         rectangleStart + noStroke +
             "<fill-style fill-type=\"gradient\"><gradient start-color=\"1.000000 0.000000 "
             "0.000000 1.000000\" end-color=\"0.000000 0.250000 1.000000 0.500000\" "
             "gradient-angle=\"-90.000000\" /></fill-style>\n" + noDash + shapeEnd},
        {rectangle({}, {}), ""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(exported(path), expected);
}

// A flat axis is scaled by 0.01: its end points land on 0 and control points
// keep their place on the slide. Figures without segments leave no trace.
TEST(PathExport, MapsGeometryIntoTheBox) {
    const std::tuple<Path*, std::string, std::string> cases[] = {  // path, data, transformation
        {figure({curve({0, 0}, {50, -100}, {150, 300}, {200, 100})}),
         "M 0.000000 0.000000 C 25.000000 -100.000000 75.000000 300.000000 100.000000 100.000000",
         "2.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {polyline({{0, 0}, {20, 0}, {20, 10}}, false, {polyline({{30, 20}, {50, 25}}, true)}),
         "M 0.000000 0.000000 L 40.000000 0.000000 L 40.000000 40.000000 M 60.000000 80.000000 L "
         "100.000000 100.000000 Z",
         "0.500000 0.000000 0.000000 0.250000 0.000000 0.000000"},
        {polyline({}, false, {new Path(), polyline({{0, 0}, {100, 100}}), new Path(),
                              polyline({{100, 0}, {0, 100}})}),
         "M 0.000000 0.000000 L 100.000000 100.000000 M 100.000000 0.000000 L 0.000000 100.000000",
         "1.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {polyline({{10, 20}, {110, 20}}), "M 0.000000 0.000000 L 100.000000 0.000000",
         "1.000000 0.000000 0.000000 0.010000 10.000000 20.000000"},
        {figure({curve({5, 0}, {7, 10}, {3, 40}, {5, 50})}),
         "M 0.000000 0.000000 C 200.000000 20.000000 -200.000000 80.000000 0.000000 100.000000",
         "0.010000 0.000000 0.000000 0.500000 5.000000 0.000000"},
    };
    for (const auto& [path, data, transformation] : cases) {
        path->strokes.push_back(blue);
        EXPECT_EQ(exported(path), "<shape path=\"" + data + "\" transformation=\"" +
                                      transformation + "\"" + blueStroke + noFill + solidDash +
                                      shapeEnd);
    }
    Path* line = rectangle({red}, {});
    line->isLine = true;
    EXPECT_EQ(exported(line),
              "<line head=\"0.000000 0.000000\" tail=\"100.000000 0.000000\" transformation=\""
              "1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"" +
                  noStroke + redFill + noDash + "</styles></line>\n");
}

// Nothing of a path is written when it has no segment or would write a number
// that is not finite.
TEST(PathExport, WritesNothingWithoutSegmentsOrWithNumbersNotFinite) {
    auto spoiled = [](std::function<void(Path&)> spoil) {
        Path* path = rectangle({red}, {blue});
        spoil(*path);
        return path;
    };
    Path* line = polyline({}, false, {polyline({{0, 0}, {1, 1}})});
    line->isLine = true;
    Path* cases[] = {
        new Path(),
        polyline({}, false, {new Path(), new Path()}),
        line,
        spoiled([](Path& p) { p.addSegment({{110, 70}, {nan, 70}, true}); }),
        spoiled([](Path& p) { p.addSegment(curve({110, 70}, {0, 3e38f}, {0, 0}, {10, 20})); }),
        spoiled([](Path& p) { p.addSubpath(polyline({{-3e38f, -3e38f}, {3e38f, 3e38f}})); }),
        spoiled([](Path& p) { p.addSubpath(polyline({{0, 0}, {1, -inf}})); }),
        spoiled([](Path& p) { p.strokes[0].width = inf; }),
        spoiled([](Path& p) { p.strokes[0].color.color[0][3] = nan; }),
        spoiled([](Path& p) { p.fills[0].color.color[0][1] = -inf; }),
        spoiled([](Path& p) { p.fills[0] = {{true, {{1, 0, 0, 1}, {0, 0, nan, 1}}, 0}}; }),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        cases[i]->fills.push_back(red);
        EXPECT_EQ(exported(cases[i]), "") << "case " << i;
    }
}

// Cut to 1023 bytes, and further back rather than through a UTF-8 sequence.
TEST(PathStroke, PatternIsCutWithoutSplittingCharacters) {
    const std::string ascii(1100, '5'), threeByte = std::string(1021, 'a') + "\xe2\x80\x94";
    Path::Stroke target;
    target.setPattern(ascii);
    EXPECT_EQ(std::string(target.pattern), ascii.substr(0, 1023));
    target.setPattern(threeByte);
    EXPECT_EQ(std::string(target.pattern), threeByte.substr(0, 1021));
}

TEST(PathOwnership, DeletesEverySubpathOnce) {
    struct CountedPath : Path {
        int& deletions;
        explicit CountedPath(int& deletions) : deletions(deletions) {}
        ~CountedPath() override { ++deletions; }
    };
    int deletions = 0;
    auto* nested = new CountedPath(deletions);
    nested->addSubpath(new CountedPath(deletions));
    delete figure({}, false, {new CountedPath(deletions), nested, nullptr});
    EXPECT_EQ(deletions, 3);
}
