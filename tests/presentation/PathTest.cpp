#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "presentation/Path.h"
#include "presentation/Written.h"

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;
using Points = std::vector<Point>;

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

PathSegment curve(Point start, Point control1, Point control2, Point end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

// A figure through the points, joined by straight segments.
Path* polyline(const Points& points, bool closed = false) {
    auto* path = new Path();
    for (std::size_t i = 1; i < points.size(); ++i) {
        path->addSegment({points[i - 1], points[i], true});
    }
    path->closed = closed;
    return path;
}

// The first figure with the others as its subpaths.
Path* compound(const std::vector<Path*>& figures) {
    Path* path = figures.front();
    for (std::size_t i = 1; i < figures.size(); ++i) path->addSubpath(figures[i]);
    return path;
}

std::unique_ptr<Path> rectangleExample() {
    return std::unique_ptr<Path>(polyline({{10, 20}, {110, 20}, {110, 70}, {10, 20}}, true));
}

Path::Color color(float r, float g, float b, float a) {
    Path::Color paint;
    float values[4] = {r, g, b, a};
    std::copy(values, values + 4, paint.color[0]);
    return paint;
}

Path::Stroke stroke(Path::Color paint, float width, const char* dashes = nullptr) {
    Path::Stroke s;
    s.color = paint;
    s.width = width;
    s.solid = dashes == nullptr;
    if (dashes != nullptr) s.setPattern(dashes);
    return s;
}

std::string exported(Path& path) {
    return written([&](FILE* file) { path.exportXML(file, 0); });
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

TEST(PathBounds, CoverEndPointsOfEveryFigureWithSegments) {
    struct Case {
        const char* name;
        Points parent;
        std::vector<Points> subpaths;
        float expected[2][2];  // min x, max x; min y, max y
    } cases[] = {
        {"one segment", {{10, 20}, {30, 5}}, {}, {{10, 30}, {5, 20}}},
        {"negative and widening", {{0, 0}, {10, 10}, {-4, 30}, {50, -8}}, {}, {{-4, 50}, {-8, 30}}},
        {"subpath widens every side", {{10, 10}, {20, 20}}, {{{0, 0}, {5, 5}}}, {{0, 20}, {0, 20}}},
        {"subpath beyond the maxima", {{0, 0}, {1, 1}}, {{{5, 9}, {6, 7}}}, {{0, 6}, {0, 9}}},
        {"empty subpath changes nothing", {{10, 10}, {20, 20}}, {{}}, {{10, 20}, {10, 20}}},
        {"empty parent takes the subpaths' bounds",
         {},
         {{{-3, 4}, {5, 6}}, {}, {{7, -1}, {0, 0}}},
         {{-3, 7}, {-1, 6}}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path(polyline(c.parent));
        for (const Points& points : c.subpaths) path->addSubpath(polyline(points));
        ASSERT_TRUE(path->bounded) << c.name;
        EXPECT_EQ(std::vector<float>(&path->bounds[0][0], &path->bounds[0][0] + 4),
                  std::vector<float>(&c.expected[0][0], &c.expected[0][0] + 4))
            << c.name;
    }
}

TEST(PathBounds, LeaveOutControlPointsAndKeepEarlierSubpaths) {
    Path path;
    path.addSubpath(polyline({{0, 0}, {10, 10}}));
    path.addSubpath(new Path());
    path.addSegment(curve({20, 20}, {0, 50}, {-40, 0}, {30, 30}));
    EXPECT_EQ(std::vector<float>(&path.bounds[0][0], &path.bounds[0][0] + 4),
              std::vector<float>({0, 30, 0, 30}));
}

TEST(PathExport, WritesOneElementPerPaintPairLastFirst) {
    Path::Fill gradient{color(1, 0, 0, 1)};
    gradient.color.gradient = true;
    float end[4] = {0, 0.25f, 1, 0.5f};
    std::copy(end, end + 4, gradient.color.color[1]);
    gradient.color.angle = -90;
    struct Case {
        const char* name;
        std::vector<Path::Fill> fills;
        std::vector<Path::Stroke> strokes;
        std::string expected;
    } cases[] = {
        {"red fill", {{color(1, 0, 0, 1)}}, {},
         rectangleStart + noStroke + redFill + noDash + shapeEnd},
        {"blue solid stroke", {}, {stroke(color(0, 0, 1, 1), 2)},
         rectangleStart + blueStroke + noFill + solidDash + shapeEnd},
        {"dashes escaped", {}, {stroke(color(0, 0, 1, 1), 2, "5,3\"<&>")},
         rectangleStart + blueStroke + noFill +
             "<dash-style pattern=\"5,3&quot;&lt;&amp;&gt;\" />\n" + shapeEnd},
        {"two fills, one stroke",
         {{color(1, 0, 0, 1)}, {color(0, 1, 0, 0.5f)}},
         {stroke(color(0, 0, 1, 1), 2)},
         rectangleStart + noStroke +
             "<fill-style fill-type=\"color\" fill-color=\"0.000000 1.000000 0.000000 0.500000\" "
             "/>\n" +
             noDash + shapeEnd + rectangleStart + blueStroke + redFill + solidDash + shapeEnd},
        {"gradient", {gradient}, {},
         rectangleStart + noStroke +
             "<fill-style fill-type=\"gradient\"><gradient start-color=\"1.000000 0.000000 "
             "0.000000 1.000000\" end-color=\"0.000000 0.250000 1.000000 0.500000\" "
             "gradient-angle=\"-90.000000\" /></fill-style>\n" +
             noDash + shapeEnd},
        {"no paint", {}, {}, ""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path = rectangleExample();
        path->fills = c.fills;
        path->strokes = c.strokes;
        EXPECT_EQ(exported(*path), c.expected) << c.name;
    }
}

TEST(PathExport, MapsGeometryIntoTheBox) {
    auto single = [](PathSegment segment) {
        auto* path = new Path();
        path->addSegment(segment);
        return path;
    };
    struct Case {
        const char* name;
        Path* path;
        std::string data;
        std::string transformation;
    } cases[] = {
        {"curve: control points in order, open figure without Z",
         single(curve({0, 0}, {50, -100}, {150, 300}, {200, 100})),
         "M 0.000000 0.000000 C 25.000000 -100.000000 75.000000 300.000000 100.000000 100.000000",
         "2.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {"negative position", polyline({{-30, -40}, {70, 10}}),
         "M 0.000000 0.000000 L 100.000000 100.000000",
         "1.000000 0.000000 0.000000 0.500000 -30.000000 -40.000000"},
        {"subpath in the parent's box",
         compound({polyline({{0, 0}, {20, 0}, {20, 10}}), polyline({{30, 20}, {50, 25}}, true)}),
         "M 0.000000 0.000000 L 40.000000 0.000000 L 40.000000 40.000000 M 60.000000 80.000000 L "
         "100.000000 100.000000 Z",
         "0.500000 0.000000 0.000000 0.250000 0.000000 0.000000"},
        {"empty figures leave no separators",
         compound({new Path(), new Path(), polyline({{0, 0}, {100, 100}}), new Path(),
                   polyline({{100, 0}, {0, 100}})}),
         "M 0.000000 0.000000 L 100.000000 100.000000 M 100.000000 0.000000 L 0.000000 100.000000",
         "1.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {"horizontal line", polyline({{10, 20}, {110, 20}}),
         "M 0.000000 0.000000 L 100.000000 0.000000",
         "1.000000 0.000000 0.000000 0.010000 10.000000 20.000000"},
        {"vertical curve keeps its control points on the slide",
         single(curve({5, 0}, {7, 10}, {3, 40}, {5, 50})),
         "M 0.000000 0.000000 C 200.000000 20.000000 -200.000000 80.000000 0.000000 100.000000",
         "0.010000 0.000000 0.000000 0.500000 5.000000 0.000000"},
        {"single point", polyline({{3, 4}, {3, 4}}), "M 0.000000 0.000000 L 0.000000 0.000000",
         "0.010000 0.000000 0.000000 0.010000 3.000000 4.000000"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path(c.path);
        path->strokes.push_back(stroke(color(0, 0, 1, 1), 2));
        EXPECT_EQ(exported(*path), "<shape path=\"" + c.data + "\" transformation=\"" +
                                       c.transformation + "\"" + blueStroke + noFill + solidDash +
                                       shapeEnd)
            << c.name;
    }
}

TEST(PathExport, LineElementUsesFirstSegment) {
    std::unique_ptr<Path> path(polyline({{10, 20}, {110, 70}, {10, 70}}));
    path->isLine = true;
    path->fills.push_back({color(1, 0, 0, 1)});
    EXPECT_EQ(exported(*path),
              "<line head=\"0.000000 0.000000\" tail=\"100.000000 100.000000\" transformation=\""
              "1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"" +
                  noStroke + redFill + noDash + "</styles></line>\n");
}

TEST(PathExport, WritesNothingWithoutSegmentsOrWithNumbersNotFinite) {
    auto spoiled = [](std::function<void(Path&)> spoil) {
        Path* path = rectangleExample().release();
        path->fills.push_back({color(1, 0, 0, 1)});
        path->strokes.push_back(stroke(color(0, 0, 1, 1), 2));
        spoil(*path);
        return path;
    };
    auto line = [](Path* path) {
        path->isLine = true;
        return path;
    };
    struct Case {
        const char* name;
        Path* path;
    } cases[] = {
        {"no segment", new Path()},
        {"only empty figures", compound({new Path(), new Path()})},
        {"line without own segment", line(compound({new Path(), polyline({{0, 0}, {1, 1}})}))},
        {"point", spoiled([](Path& p) { p.addSegment({{110, 70}, {nan, 70}, true}); })},
        {"control point",
         spoiled([](Path& p) { p.addSegment(curve({110, 70}, {inf, 0}, {0, 0}, {10, 20})); })},
        {"control point mapped out of range",
         spoiled([](Path& p) { p.addSegment(curve({110, 70}, {0, 3e38f}, {0, 0}, {10, 20})); })},
        {"extent out of range",
         spoiled([](Path& p) { p.addSubpath(polyline({{-3e38f, -3e38f}, {3e38f, 3e38f}})); })},
        {"subpath point", spoiled([](Path& p) { p.addSubpath(polyline({{0, 0}, {1, -inf}})); })},
        {"stroke width", spoiled([](Path& p) { p.strokes[0].width = inf; })},
        {"stroke colour", spoiled([](Path& p) { p.strokes[0].color.color[0][3] = nan; })},
        {"fill colour", spoiled([](Path& p) { p.fills[0].color.color[0][1] = -inf; })},
        {"gradient end colour", spoiled([](Path& p) {
             p.fills[0].color.gradient = true;
             p.fills[0].color.color[1][2] = nan;
         })},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path(c.path);
        if (path->fills.empty()) path->fills.push_back({color(1, 0, 0, 1)});
        EXPECT_EQ(exported(*path), "") << c.name;
    }
}

TEST(PathStroke, PatternIsCutWithoutSplittingCharacters) {
    const std::string ascii(1100, '5');
    const std::string twoByte = std::string(1022, 'a') + "\xc3\xa9";        // straddles the cut
    const std::string threeByte = std::string(1021, 'a') + "\xe2\x80\x94";  // straddles it
    const std::string fitting = std::string(1021, 'a') + "\xc3\xa9";
    struct Case {
        std::string input, stored;
    } cases[] = {
        {"5,3", "5,3"},
        {ascii, ascii.substr(0, 1023)},
        {twoByte, twoByte.substr(0, 1022)},
        {threeByte, threeByte.substr(0, 1021)},
        {fitting, fitting},
    };
    for (const Case& c : cases) {
        Path::Stroke target;
        target.setPattern(c.input);
        EXPECT_EQ(std::string(target.pattern), c.stored) << c.input.size();
    }
}

namespace {

class CountedPath : public Path {
public:
    explicit CountedPath(int& deletions) : deletions(deletions) {}
    ~CountedPath() override { ++deletions; }

private:
    int& deletions;
};

}  // namespace

TEST(PathOwnership, DeletesEverySubpathOnce) {
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
