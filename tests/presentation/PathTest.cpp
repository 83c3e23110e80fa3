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

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

PathSegment line(float x0, float y0, float x1, float y1) {
    return PathSegment(Point(x0, y0), Point(x1, y1), true);
}

PathSegment curve(Point start, Point control1, Point control2, Point end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

// A figure through the given points, joined by straight segments.
std::unique_ptr<Path> polyline(std::vector<Point> points, bool closed = false) {
    auto path = std::make_unique<Path>();
    for (std::size_t i = 1; i < points.size(); ++i) {
        path->addSegment(PathSegment(points[i - 1], points[i], true));
    }
    path->closed = closed;
    return path;
}

std::unique_ptr<Path> rectangleExample() {
    return polyline({{10, 20}, {110, 20}, {110, 70}, {10, 20}}, true);
}

Path::Fill fill(float r, float g, float b, float a) {
    Path::Fill paint;
    float colour[4] = {r, g, b, a};
    std::copy(colour, colour + 4, paint.color.color[0]);
    return paint;
}

Path::Stroke stroke(float r, float g, float b, float a, float width) {
    Path::Stroke paint;
    float colour[4] = {r, g, b, a};
    std::copy(colour, colour + 4, paint.color.color[0]);
    paint.width = width;
    return paint;
}

Path::Stroke dashed(const char* pattern) {
    Path::Stroke paint = stroke(0, 0, 0, 1, 1);
    paint.solid = false;
    paint.setPattern(pattern);
    return paint;
}

std::string exported(Path& path) {
    return written([&](FILE* file) { path.exportXML(file, 0); });
}

struct Bounds {
    float minX, maxX, minY, maxY;
};

void expectBounds(const Path& path, Bounds expected, const std::string& context) {
    ASSERT_TRUE(path.bounded) << context;
    EXPECT_EQ(path.bounds[0][0], expected.minX) << context;
    EXPECT_EQ(path.bounds[0][1], expected.maxX) << context;
    EXPECT_EQ(path.bounds[1][0], expected.minY) << context;
    EXPECT_EQ(path.bounds[1][1], expected.maxY) << context;
}

const std::string rectangleStart =
    "<shape path=\"M 0.000000 0.000000 L 100.000000 0.000000 L 100.000000 100.000000 L 0.000000 "
    "0.000000 Z\" transformation=\"1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"";
const std::string defaultStroke = " stroke-color=\"0 0 0 1\" stroke-width=\"1\"";
const std::string blackStroke = " stroke-color=\"0.000000 0.000000 0.000000 1.000000\" "
                                "stroke-width=\"1.000000\"";
const std::string noFill = "<fill-style fill-type=\"none\" />\n";
const std::string redFill =
    "<fill-style fill-type=\"color\" fill-color=\"1.000000 0.000000 0.000000 1.000000\" />\n";
const std::string noDash = "<dash-style pattern=\"none\" />\n";
const std::string solidDash = "<dash-style pattern=\"solid\" />\n";
const std::string styles = ">\n<styles>\n";
const std::string shapeEnd = "</styles></shape>\n";

}  // namespace

TEST(PathBounds, FollowStartAndEndPointsOnly) {
    struct Case {
        const char* name;
        std::vector<PathSegment> segments;
        Bounds expected;
    } cases[] = {
        {"one segment", {line(10, 20, 30, 5)}, {10, 30, 5, 20}},
        {"control points bulge outside",
         {curve({0, 0}, {0, 50}, {10, 50}, {10, 0})},
         {0, 10, 0, 0}},
        {"negative coordinates", {line(-5, 3, -20, -7)}, {-20, -5, -7, 3}},
        {"repeated segment", {line(1, 2, 3, 4), line(1, 2, 3, 4)}, {1, 3, 2, 4}},
        {"later segments widen",
         {line(0, 0, 10, 10), line(10, 10, -4, 30), line(-4, 30, 50, -8)},
         {-4, 50, -8, 30}},
    };
    for (const Case& c : cases) {
        Path path;
        for (const PathSegment& segment : c.segments) path.addSegment(segment);
        expectBounds(path, c.expected, c.name);
    }
}

TEST(PathBounds, MergeSubpathsAndIgnoreEmptyFigures) {
    using Points = std::vector<Point>;
    struct Case {
        const char* name;
        Points parent;
        std::vector<Points> subpaths;
        bool bounded;
        Bounds expected;
    } cases[] = {
        {"subpath widens every side",
         {{10, 10}, {20, 20}},
         {{{0, 0}, {5, 5}}},
         true,
         {0, 20, 0, 20}},
        {"subpath inside", {{0, 0}, {20, 20}}, {{{5, 5}, {6, 7}}}, true, {0, 20, 0, 20}},
        {"subpath beyond the maxima",
         {{0, 0}, {1, 1}},
         {{{5, 9}, {6, 7}}},
         true,
         {0, 6, 0, 9}},
        {"empty subpath changes nothing", {{10, 10}, {20, 20}}, {{}}, true, {10, 20, 10, 20}},
        {"empty parent takes the subpath's bounds",
         {},
         {{{-3, 4}, {5, 6}}, {}, {{7, -1}, {0, 0}}},
         true,
         {-3, 7, -1, 6}},
        {"all empty", {}, {{}, {}}, false, {}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path = polyline(c.parent);
        for (const Points& points : c.subpaths) path->addSubpath(polyline(points).release());
        if (c.bounded) {
            expectBounds(*path, c.expected, c.name);
        } else {
            EXPECT_FALSE(path->bounded) << c.name;
        }
    }
}

TEST(PathBounds, SegmentAfterSubpathWidensInsteadOfRestarting) {
    Path path;
    path.addSubpath(polyline({{0, 0}, {10, 10}}).release());
    path.addSegment(line(20, 20, 30, 30));
    expectBounds(path, {0, 30, 0, 30}, "");
}

TEST(PathExport, WritesOneElementPerPaintPair) {
    struct Case {
        const char* name;
        std::function<void(Path&)> paint;
        std::string expected;
    } cases[] = {
        {"red fill", [](Path& p) { p.fills.push_back(fill(1, 0, 0, 1)); },
         rectangleStart + defaultStroke + styles + redFill + noDash + shapeEnd},
        {"blue solid stroke", [](Path& p) { p.strokes.push_back(stroke(0, 0, 1, 1, 2)); },
         rectangleStart +
             " stroke-color=\"0.000000 0.000000 1.000000 1.000000\" stroke-width=\"2.000000\"" +
             styles + noFill + solidDash + shapeEnd},
        {"dashed stroke", [](Path& p) { p.strokes.push_back(dashed("5,3")); },
         rectangleStart + blackStroke + styles + noFill + "<dash-style pattern=\"5,3\" />\n" +
             shapeEnd},
        {"dash pattern with markup",
         [](Path& p) { p.strokes.push_back(dashed("1\"<&>")); },
         rectangleStart + blackStroke + styles + noFill +
             "<dash-style pattern=\"1&quot;&lt;&amp;&gt;\" />\n" + shapeEnd},
        {"last paints first",
         [](Path& p) {
             p.fills.push_back(fill(1, 0, 0, 1));
             p.fills.push_back(fill(0, 1, 0, 0.5f));
             p.strokes.push_back(stroke(0, 0, 1, 1, 2));
         },
         rectangleStart + defaultStroke + styles +
             "<fill-style fill-type=\"color\" fill-color=\"0.000000 1.000000 0.000000 0.500000\" "
             "/>\n" +
             noDash + shapeEnd + rectangleStart +
             " stroke-color=\"0.000000 0.000000 1.000000 1.000000\" stroke-width=\"2.000000\"" +
             styles + redFill + solidDash + shapeEnd},
        {"gradient fill",
         [](Path& p) {
             Path::Fill gradient = fill(1, 0, 0, 1);
             gradient.color.gradient = true;
             float end[4] = {0, 0.25f, 1, 0.5f};
             std::copy(end, end + 4, gradient.color.color[1]);
             gradient.color.angle = -90;
             p.fills.push_back(gradient);
         },
         rectangleStart + defaultStroke + styles +
             "<fill-style fill-type=\"gradient\"><gradient start-color=\"1.000000 0.000000 "
             "0.000000 1.000000\" end-color=\"0.000000 0.250000 1.000000 0.500000\" "
             "gradient-angle=\"-90.000000\" /></fill-style>\n" +
             noDash + shapeEnd},
        {"no paint", [](Path&) {}, ""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path = rectangleExample();
        c.paint(*path);
        EXPECT_EQ(exported(*path), c.expected) << c.name;
    }
}

TEST(PathExport, MapsGeometryIntoTheBox) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Path>()> make;
        std::string path;
        std::string transformation;
    } cases[] = {
        {"curve keeps control point order and sign, open figure has no Z",
         [] {
             auto p = std::make_unique<Path>();
             p->addSegment(curve({0, 0}, {50, -100}, {150, 300}, {200, 100}));
             return p;
         },
         "M 0.000000 0.000000 C 25.000000 -100.000000 75.000000 300.000000 100.000000 100.000000",
         "2.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {"negative position",
         [] { return polyline({{-30, -40}, {70, 10}}); },
         "M 0.000000 0.000000 L 100.000000 100.000000",
         "1.000000 0.000000 0.000000 0.500000 -30.000000 -40.000000"},
        {"subpath in the parent's box",
         [] {
             std::unique_ptr<Path> p = polyline({{0, 0}, {20, 0}, {20, 10}});
             p->addSubpath(polyline({{30, 20}, {50, 25}}, true).release());
             return p;
         },
         "M 0.000000 0.000000 L 40.000000 0.000000 L 40.000000 40.000000 M 60.000000 80.000000 "
         "L 100.000000 100.000000 Z",
         "0.500000 0.000000 0.000000 0.250000 0.000000 0.000000"},
        {"empty figures leave no separators",
         [] {
             auto p = std::make_unique<Path>();
             p->addSubpath(new Path());
             p->addSubpath(polyline({{0, 0}, {100, 100}}).release());
             p->addSubpath(new Path());
             p->addSubpath(polyline({{100, 0}, {0, 100}}).release());
             return p;
         },
         "M 0.000000 0.000000 L 100.000000 100.000000 M 100.000000 0.000000 L 0.000000 100.000000",
         "1.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {"horizontal line",
         [] { return polyline({{10, 20}, {110, 20}}); },
         "M 0.000000 0.000000 L 100.000000 0.000000",
         "1.000000 0.000000 0.000000 0.010000 10.000000 20.000000"},
        {"vertical curve keeps its control points on the slide",
         [] {
             auto p = std::make_unique<Path>();
             p->addSegment(curve({5, 0}, {7, 10}, {3, 40}, {5, 50}));
             return p;
         },
         "M 0.000000 0.000000 C 200.000000 20.000000 -200.000000 80.000000 0.000000 100.000000",
         "0.010000 0.000000 0.000000 0.500000 5.000000 0.000000"},
        {"single point",
         [] { return polyline({{3, 4}, {3, 4}}); },
         "M 0.000000 0.000000 L 0.000000 0.000000",
         "0.010000 0.000000 0.000000 0.010000 3.000000 4.000000"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path = c.make();
        path->strokes.push_back(stroke(0, 0, 0, 1, 1));
        EXPECT_EQ(exported(*path), "<shape path=\"" + c.path + "\" transformation=\"" +
                                       c.transformation + "\"" + blackStroke + styles + noFill +
                                       solidDash + shapeEnd)
            << c.name;
    }
}

TEST(PathExport, LineElementUsesFirstSegment) {
    std::unique_ptr<Path> path = polyline({{10, 20}, {110, 70}, {10, 70}});
    path->isLine = true;
    path->strokes.push_back(stroke(0, 0, 0, 1, 1));
    EXPECT_EQ(exported(*path),
              "<line head=\"0.000000 0.000000\" tail=\"100.000000 100.000000\" "
              "transformation=\"1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"" +
                  blackStroke + styles + noFill + solidDash + "</styles></line>\n");
}

TEST(PathExport, SecondExportWritesTheSameText) {
    std::unique_ptr<Path> path = rectangleExample();
    path->fills.push_back(fill(1, 0, 0, 1));
    path->addSubpath(polyline({{0, 0}, {3, 7}}).release());
    std::string first = exported(*path);
    EXPECT_EQ(exported(*path), first);
}

TEST(PathExport, EmptyFiguresWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(Path&)> build;
    } cases[] = {
        {"painted, no segment", [](Path&) {}},
        {"only empty subpaths", [](Path& p) { p.addSubpath(new Path()); }},
        {"line without own segment",
         [](Path& p) {
             p.isLine = true;
             p.addSubpath(polyline({{0, 0}, {1, 1}}).release());
         }},
    };
    for (const Case& c : cases) {
        Path path;
        path.fills.push_back(fill(1, 0, 0, 1));
        path.strokes.push_back(stroke(0, 0, 1, 1, 2));
        c.build(path);
        EXPECT_EQ(exported(path), "") << c.name;
    }
}

TEST(PathExport, LeavesOutPathsWithNumbersThatAreNotFinite) {
    struct Case {
        const char* name;
        std::function<void(Path&)> spoil;
    } cases[] = {
        {"point", [](Path& p) { p.addSegment(line(110, 70, nan, 70)); }},
        {"control point",
         [](Path& p) { p.addSegment(curve({110, 70}, {inf, 0}, {0, 0}, {10, 20})); }},
        {"control point mapped out of range",
         [](Path& p) { p.addSegment(curve({110, 70}, {0, 3e38f}, {0, 0}, {10, 20})); }},
        {"extent out of range",
         [](Path& p) {
             p.addSegment(line(110, 70, -3e38f, -3e38f));
             p.addSegment(line(-3e38f, -3e38f, 3e38f, 3e38f));
         }},
        {"subpath point",
         [](Path& p) { p.addSubpath(polyline({{0, 0}, {1, -inf}}).release()); }},
        {"stroke width", [](Path& p) { p.strokes[0].width = inf; }},
        {"stroke colour", [](Path& p) { p.strokes[0].color.color[0][3] = nan; }},
        {"fill colour", [](Path& p) { p.fills[0].color.color[0][1] = -inf; }},
        {"gradient end colour",
         [](Path& p) {
             p.fills[0].color.gradient = true;
             p.fills[0].color.color[1][2] = nan;
         }},
        {"gradient angle",
         [](Path& p) {
             p.fills[0].color.gradient = true;
             p.fills[0].color.angle = inf;
         }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path = rectangleExample();
        path->fills.push_back(fill(1, 0, 0, 1));
        path->strokes.push_back(stroke(0, 0, 1, 1, 2));
        ASSERT_NE(exported(*path), "") << c.name;
        c.spoil(*path);
        EXPECT_EQ(exported(*path), "") << c.name;
    }
}

TEST(PathStroke, PatternIsCutWithoutSplittingCharacters) {
    const std::string ascii(2000, '5');
    const std::string twoByte = std::string(1022, 'a') + "\xc3\xa9";     // straddles the cut
    const std::string threeByte = std::string(1021, 'a') + "\xe2\x80\x94";  // straddles it
    const std::string fitsExactly = std::string(1021, 'a') + "\xc3\xa9";
    struct Case {
        const char* name;
        std::string input;
        std::string stored;
    } cases[] = {
        {"short", "5,3", "5,3"},
        {"empty", "", ""},
        {"1023 characters", ascii.substr(0, 1023), ascii.substr(0, 1023)},
        {"too long", ascii, ascii.substr(0, 1023)},
        {"two-byte sequence at the cut", twoByte, twoByte.substr(0, 1022)},
        {"three-byte sequence at the cut", threeByte, threeByte.substr(0, 1021)},
        {"sequence ending at the cut", fitsExactly, fitsExactly},
    };
    for (const Case& c : cases) {
        Path::Stroke target;
        target.setPattern(c.input);
        EXPECT_EQ(std::string(target.pattern), c.stored) << c.name;
    }
}

namespace {

// A subpath that counts its own destruction.
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
