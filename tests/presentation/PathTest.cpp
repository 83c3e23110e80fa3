#include <gtest/gtest.h>

#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "presentation/Path.h"

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;

namespace {

const float nan = std::numeric_limits<float>::quiet_NaN();

const Path::Fill red{{false, {{1, 0, 0, 1}, {0, 0, 0, 1}}, 0}};
const Path::Stroke blue{{false, {{0, 0, 1, 1}, {0, 0, 0, 1}}, 0}, 2, true, ""};

PathSegment curve(Point start, Point control1, Point control2, Point end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

using Figure = std::unique_ptr<Path>;

// A figure of straight segments through the points, or of the one curve,
// painted red; further figures become its subpaths.
Figure figure(const std::vector<Point>& points, std::vector<Figure> subpaths = {}) {
    auto path = std::make_unique<Path>();
    for (std::size_t i = 1; i < points.size(); ++i) path->addSegment({points[i - 1], points[i], true});
    for (Figure& subpath : subpaths) path->addSubpath(std::move(subpath));
    path->fills.push_back(red);
    return path;
}
Figure curveFigure(const PathSegment& segment) {
    Figure path = figure(std::vector<Point>{});
    path->addSegment(segment);
    return path;
}
Figure empty() { return std::make_unique<Path>(); }
template <typename... Figures>
std::vector<Figure> figures(Figures... each) {
    std::vector<Figure> list;
    (list.push_back(std::move(each)), ...);
    return list;
}

std::string exported(const Figure& path) {
    std::string text;
    path->write(text, 0);
    return text;
}

const std::string noStroke = " stroke-color=\"0 0 0 1\" stroke-width=\"1\">\n<styles>\n";
const std::string redFill =
    "<fill-style fill-type=\"color\" fill-color=\"1.000000 0.000000 0.000000 1.000000\" />\n";
const std::string redShapeEnd = noStroke + redFill + "<dash-style pattern=\"none\" />\n</styles></shape>\n";

}  // namespace

// The box spans the end points of every figure, never the control points; a
// flat axis is scaled by 0.01, so its end points land on 0 and control points
// keep their place on the slide. Figures without segments leave no trace.
// (The red fill closes every figure.)
TEST(PathExport, MapsGeometryIntoTheBox) {
    const std::pair<Figure, std::string> cases[] = {  // path, data and transformation
        {figure({}, figures(empty(), figure({{0, 0}, {50, 50}}), empty(), figure({{100, 0}, {0, 100}}))),
         "M 0.000000 0.000000 L 50.000000 50.000000 Z M 100.000000 0.000000 L 0.000000 100.000000 Z\" "
         "transformation=\"1.000000 0.000000 0.000000 1.000000 0.000000 0.000000"},
        {curveFigure(curve({5, 0}, {7, 10}, {3, 40}, {5, 50})),
         "M 0.000000 0.000000 C 200.000000 20.000000 -200.000000 80.000000 0.000000 100.000000 Z\" "
         "transformation=\"0.010000 0.000000 0.000000 0.500000 5.000000 0.000000"},
    };
    for (const auto& [path, geometry] : cases)
        EXPECT_EQ(exported(path), "<shape path=\"" + geometry + "\"" + redShapeEnd);
}

// A fill closes every figure. A stroke keeps them as drawn: when a figure is
// open, the fill is written first without the stroke, then the stroke
// without the fill, in the same box.
TEST(PathExport, FillClosesFiguresAndGoesApartFromAStrokeOfOpenFigures) {
    const std::string triangle = "M 0.000000 0.000000 L 100.000000 0.000000 L 100.000000 100.000000";
    const std::string line = " M 0.000000 100.000000 L 50.000000 50.000000";
    const std::string noFill = "<fill-style fill-type=\"none\" />\n";
    auto shape = [&](const std::string& data, const std::string& stroke, const std::string& fill) {
        return "<shape path=\"" + data +
               "\" transformation=\"1.000000 0.000000 0.000000 1.000000 0.000000 0.000000\"" +
               (stroke.empty() ? noStroke : stroke) + (fill.empty() ? noFill : fill) + "<dash-style pattern=\"" +
               (stroke.empty() ? "none" : "solid") + "\" />\n</styles></shape>\n";
    };
    const std::string stroke =
        " stroke-color=\"0.000000 0.000000 1.000000 1.000000\" stroke-width=\"2.000000\">\n<styles>\n";
    struct Row {
        const char* label;
        bool closed, filled, stroked, lineAfter;
        std::string expected;
    };
    const Row rows[] = {
        {"open, filled and stroked", false, true, true, false,
         shape(triangle + " Z", "", redFill) + shape(triangle, stroke, "")},
        {"closed and an open line, filled and stroked", true, true, true, true,
         shape(triangle + " Z" + line + " Z", "", redFill) + shape(triangle + " Z" + line, stroke, "")},
        {"closed, filled and stroked", true, true, true, false, shape(triangle + " Z", stroke, redFill)},
        {"open, stroked", false, false, true, false, shape(triangle, stroke, "")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Figure path = figure({{0, 0}, {100, 0}, {100, 100}});
        if (row.lineAfter) path->addSubpath(figure({{0, 100}, {50, 50}}));
        path->closed = row.closed;
        if (!row.filled) path->fills.clear();
        if (row.stroked) path->strokes.push_back(blue);
        EXPECT_EQ(exported(path), row.expected);
    }
}

// One element per stroke and fill pair, the last pair first. A line writes
// its first segment as head and tail.
TEST(PathExport, WritesOneElementPerPaintPairLastFirst) {
    Figure line = figure({{10, 20}, {110, 70}});
    line->isLine = true;
    line->strokes.push_back(blue);
    line->strokes[0].solid = false;
    line->strokes[0].setPattern("5,3\"<&>");
    line->fills.push_back({{true, {{1, 0, 0, 1}, {0, 0.25f, 1, 0.5f}}, -90}});
    const std::string geometry = "<line head=\"0.000000 0.000000\" tail=\"100.000000 100.000000\" "
                                 "transformation=\"1.000000 0.000000 0.000000 0.500000 10.000000 20.000000\"";
    EXPECT_EQ(exported(line),
              geometry + noStroke +
                  "<fill-style fill-type=\"gradient\"><gradient start-color=\"1.000000 0.000000 0.000000 "
                  "1.000000\" end-color=\"0.000000 0.250000 1.000000 0.500000\" gradient-angle=\"-90.000000\" "
                  "/></fill-style>\n<dash-style pattern=\"none\" />\n</styles></line>\n" + geometry +
                  " stroke-color=\"0.000000 0.000000 1.000000 1.000000\" stroke-width=\"2.000000\">\n<styles>\n" +
                  redFill + "<dash-style pattern=\"5,3&quot;&lt;&amp;&gt;\" />\n</styles></line>\n");
}

// Nothing of a path is written when it has no segment or paint, or would
// write a number that is not finite.
TEST(PathExport, WritesNothingWithoutSegmentsOrWithNumbersNotFinite) {
    Figure unpainted = figure({{0, 0}, {1, 1}});
    unpainted->fills.clear();
    Figure line = figure({}, figures(figure({{0, 0}, {1, 1}})));
    line->isLine = true;
    Figure gradient = figure({{0, 0}, {1, 1}});
    gradient->fills[0] = {{true, {{1, 0, 0, 1}, {0, 0, nan, 1}}, 0}};
    const Figure cases[] = {figure({}, figures(empty())), std::move(unpainted), std::move(line),
                            std::move(gradient), curveFigure(curve({0, 0}, {0, 3e38f}, {0, 0}, {1, 1e-30f}))};
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(exported(cases[i]), "") << "case " << i;
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
