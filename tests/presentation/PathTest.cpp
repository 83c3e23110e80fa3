#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "presentation/Path.h"
#include "presentation/Written.h"

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

PathSegment curve(Point start, Point control1, Point control2, Point end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

// A figure through the points, joined by straight segments; further figures
// become its subpaths.
Path* polyline(const std::vector<Point>& points, bool closed = false,
               const std::vector<Path*>& subpaths = {}) {
    auto* path = new Path();
    for (std::size_t i = 1; i < points.size(); ++i)
        path->addSegment({points[i - 1], points[i], true});
    path->closed = closed;
    for (Path* subpath : subpaths) path->addSubpath(subpath);
    return path;
}

Path* single(const PathSegment& segment) {
    auto* path = new Path();
    path->addSegment(segment);
    return path;
}

Path::Color color(float r, float g, float b, float a) {
    Path::Color paint;
    float values[4] = {r, g, b, a};
    std::copy(values, values + 4, paint.color[0]);
    return paint;
}

Path::Stroke blue(const char* dashes = nullptr) {
    Path::Stroke s;
    s.color = color(0, 0, 1, 1);
    s.width = 2;
    s.solid = dashes == nullptr;
    if (dashes != nullptr) s.setPattern(dashes);
    return s;
}

std::string exported(Path* path) {
    std::unique_ptr<Path> owned(path);
    return written([&](FILE* file) { path->exportXML(file, 0); });
}

std::vector<float> boundsOf(const Path& path) {
    return {&path.bounds[0][0], &path.bounds[0][0] + 4};
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

// The example rectangle, painted as each row gives.
Path* rectangle(std::vector<Path::Fill> fills, std::vector<Path::Stroke> strokes) {
    Path* path = polyline({{10, 20}, {110, 20}, {110, 70}, {10, 20}}, true);
    path->fills = std::move(fills);
    path->strokes = std::move(strokes);
    return path;
}

}  // namespace

// Bounds (min x, max x, min y, max y) cover the end points of every figure
// with segments, never the control points.
TEST(PathBounds, CoverEndPointsOfEveryFigureWithSegments) {
    struct Case {
        Path* path;
        std::vector<float> expected;
    } cases[] = {
        {polyline({{10, 20}, {30, 5}}), {10, 30, 5, 20}},
        {polyline({{0, 0}, {10, 10}, {-4, 30}, {50, -8}}), {-4, 50, -8, 30}},
        {polyline({{10, 10}, {20, 20}}, false, {polyline({{0, 0}, {5, 5}}), new Path()}),
         {0, 20, 0, 20}},
        {polyline({{0, 0}, {1, 1}}, false, {polyline({{5, 9}, {6, 7}})}), {0, 6, 0, 9}},
        {polyline({}, false,
                  {polyline({{-3, 4}, {5, 6}}), new Path(), polyline({{7, -1}, {0, 0}})}),
         {-3, 7, -1, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boundsOf(*c.path), c.expected) << c.expected[0];
        delete c.path;
    }
    Path path;
    path.addSubpath(polyline({{0, 0}, {10, 10}}));
    path.addSegment(curve({20, 20}, {0, 50}, {-40, 0}, {30, 30}));
    EXPECT_EQ(boundsOf(path), std::vector<float>({0, 30, 0, 30}));
}

TEST(PathExport, WritesOneElementPerPaintPairLastFirst) {
    Path::Fill gradient{color(1, 0, 0, 1)};
    gradient.color.gradient = true;
    float end[4] = {0, 0.25f, 1, 0.5f};
    std::copy(end, end + 4, gradient.color.color[1]);
    gradient.color.angle = -90;
    struct Case {
        Path* path;
        std::string expected;
    } cases[] = {
        {rectangle({{color(1, 0, 0, 1)}}, {}),
         rectangleStart + noStroke + redFill + noDash + shapeEnd},
        {rectangle({}, {blue()}), rectangleStart + blueStroke + noFill + solidDash + shapeEnd},
        {rectangle({}, {blue("5,3\"<&>")}),
         rectangleStart + blueStroke + noFill +
             "<dash-style pattern=\"5,3&quot;&lt;&amp;&gt;\" />\n" + shapeEnd},
        {rectangle({{color(1, 0, 0, 1)}, {color(0, 1, 0, 0.5f)}}, {blue()}),
         rectangleStart + noStroke +
             "<fill-style fill-type=\"color\" fill-color=\"0.000000 1.000000 0.000000 0.500000\" "
             "/>\n" + noDash + shapeEnd +
             rectangleStart + blueStroke + redFill + solidDash + shapeEnd},
        {rectangle({gradient}, {}),
         rectangleStart + noStroke +
             "<fill-style fill-type=\"gradient\"><gradient start-color=\"1.000000 0.000000 "
             "0.000000 1.000000\" end-color=\"0.000000 0.250000 1.000000 0.500000\" "
             "gradient-angle=\"-90.000000\" /></fill-style>\n" + noDash + shapeEnd},
        {rectangle({}, {}), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(exported(c.path), c.expected);
}

// A flat axis is scaled by 0.01: its end points land on 0 and control points
// keep their place on the slide.
TEST(PathExport, MapsGeometryIntoTheBox) {
    struct Case {
        Path* path;
        std::string data, transformation;
    } cases[] = {
        {single(curve({0, 0}, {50, -100}, {150, 300}, {200, 100})),
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
        {single(curve({5, 0}, {7, 10}, {3, 40}, {5, 50})),
         "M 0.000000 0.000000 C 200.000000 20.000000 -200.000000 80.000000 0.000000 100.000000",
         "0.010000 0.000000 0.000000 0.500000 5.000000 0.000000"},
    };
    for (const Case& c : cases) {
        c.path->strokes.push_back(blue());
        EXPECT_EQ(exported(c.path), "<shape path=\"" + c.data + "\" transformation=\"" +
                                        c.transformation + "\"" + blueStroke + noFill + solidDash +
                                        shapeEnd);
    }
    Path* line = rectangle({{color(1, 0, 0, 1)}}, {});
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
        Path* path = rectangle({{color(1, 0, 0, 1)}}, {blue()});
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
        spoiled([](Path& p) {
            p.fills[0].color.gradient = true;
            p.fills[0].color.color[1][2] = nan;
        }),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        cases[i]->fills.push_back({color(1, 0, 0, 1)});
        EXPECT_EQ(exported(cases[i]), "") << "case " << i;
    }
}

// The pattern is cut to 1023 bytes, and further back rather than through a
// UTF-8 sequence.
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
    {
        Path path;
        auto* nested = new CountedPath(deletions);
        nested->addSubpath(new CountedPath(deletions));
        path.addSubpath(new CountedPath(deletions));
        path.addSubpath(nested);
        path.addSubpath(nullptr);
    }
    EXPECT_EQ(deletions, 3);
}
