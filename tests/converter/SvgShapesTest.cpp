#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "converter/Svg.h"

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;
using Pictavo::Matrix;
using Pictavo::SVG;

namespace {

// kappa times 10 and times 5, as the shapes compute them.
const float k10 = 5.52284765f, k5 = 2.76142383f;

struct Segment {
    bool straight;
    Point start, control1, control2, end;  // the controls of a line are not compared
};

Segment L(Point start, Point end) { return {true, start, {0, 0}, {0, 0}, end}; }
Segment C(Point start, Point control1, Point control2, Point end) {
    return {false, start, control1, control2, end};
}

void expectPoint(const Point& actual, const Point& expected, const std::string& label) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << label;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << label;
}

void expectSegments(const Path& path, const std::vector<Segment>& expected,
                    const std::string& label) {
    ASSERT_EQ(path.segments.size(), expected.size()) << label;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PathSegment& actual = path.segments[i];
        std::string at = label + ", segment " + std::to_string(i + 1);
        EXPECT_EQ(actual.straight, expected[i].straight) << at;
        expectPoint(actual.start, expected[i].start, at + " start");
        expectPoint(actual.end, expected[i].end, at + " end");
        if (expected[i].straight) continue;
        expectPoint(actual.control1, expected[i].control1, at + " control1");
        expectPoint(actual.control2, expected[i].control2, at + " control2");
    }
}

class Shapes : public ::testing::Test {
protected:
    std::string bundle = ::testing::TempDir() + "shapes.key";
    Orvane::Keynote keynote{bundle.c_str(), 800, 600};
    SVG svg{keynote};
};

}  // namespace

TEST_F(Shapes, BuildTheirSegments) {
    Matrix identity = Matrix::identity();
    Matrix shift = Matrix(1, 0, 10, 0, 1, 20, 0, 0, 1);
    // (x, y) to (5 - y, 7 + x): catches an unmapped control point or swapped axes.
    Matrix turn = Matrix(0, -1, 5, 1, 0, 7, 0, 0, 1);
    struct Case {
        const char* name;
        std::function<Path*(SVG&)> build;
        bool closed;
        std::vector<Segment> segments;
    } cases[] = {
        {"mapped circle",
         [&](SVG& s) { return s.convertCircle(1, 2, 10, turn); },
         true,
         {C({13, 8}, {13, 8 + k10}, {3 + k10, 18}, {3, 18}),
          C({3, 18}, {3 - k10, 18}, {-7, 8 + k10}, {-7, 8}),
          C({-7, 8}, {-7, 8 - k10}, {3 - k10, -2}, {3, -2}),
          C({3, -2}, {3 + k10, -2}, {13, 8 - k10}, {13, 8})}},
        {"ellipse",
         [&](SVG& s) { return s.convertEllipse(1, 2, 20, 10, identity); },
         true,
         {C({1, -8}, {1 + 2 * k10, -8}, {21, 2 - k10}, {21, 2}),
          C({21, 2}, {21, 2 + k10}, {1 + 2 * k10, 12}, {1, 12}),
          C({1, 12}, {1 - 2 * k10, 12}, {-19, 2 + k10}, {-19, 2}),
          C({-19, 2}, {-19, 2 - k10}, {1 - 2 * k10, -8}, {1, -8})}},
        {"rectangle",
         [&](SVG& s) { return s.convertRectangle(1, 2, 10, 20, identity); },
         true,
         {L({1, 2}, {11, 2}), L({11, 2}, {11, 22}), L({11, 22}, {1, 22})}},
        {"rounded rectangle",
         [&](SVG& s) { return s.convertRoundedRectangle(10, 20, 100, 50, 10, 5, identity); },
         true,
         {C({100, 20}, {100 + k10, 20}, {110, 25 - k5}, {110, 25}), L({110, 25}, {110, 65}),
          C({110, 65}, {110, 65 + k5}, {100 + k10, 70}, {100, 70}), L({100, 70}, {20, 70}),
          C({20, 70}, {20 - k10, 70}, {10, 65 + k5}, {10, 65}), L({10, 65}, {10, 25}),
          C({10, 25}, {10, 25 - k5}, {20 - k10, 20}, {20, 20})}},
        {"line",
         [&](SVG& s) { return s.convertLine(0, 0, 3, 4, shift); },
         false,
         {L({10, 20}, {13, 24})}},
        {"mapped polyline",
         [&](SVG& s) { return s.convertPolygon("0,0 10,0 10,10", false, turn); },
         false,
         {L({5, 7}, {5, 17}), L({5, 17}, {-5, 17})}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Path> path(c.build(svg));
        EXPECT_EQ(path->closed, c.closed) << c.name;
        expectSegments(*path, c.segments, c.name);
    }
}

TEST_F(Shapes, PointsPairNumbersInOrder) {
    struct Case {
        const char* text;
        std::vector<Point> points;
    } cases[] = {
        {"0,0 10,0 10,10", {{0, 0}, {10, 0}, {10, 10}}},
        {"10-20-30-40", {{10, -20}, {-30, -40}}},
        {"- 5 , 6  7 8", {{-5, 6}, {7, 8}}},
        {"-+5 6 7 8", {{5, 6}, {7, 8}}},
        {"1e2,5,6 7", {{100, 5}, {6, 7}}},
        {"1.5e-1,2E1 3,4", {{0.15f, 20}, {3, 4}}},
        {"1,2 x 3;4", {{1, 2}, {3, 4}}},
        {"10 20 30", {{10, 20}}},
        {"", {}},
    };
    Matrix identity = Matrix::identity();
    for (const Case& c : cases) {
        std::vector<Segment> lines;
        for (std::size_t i = 1; i < c.points.size(); ++i)
            lines.push_back(L(c.points[i - 1], c.points[i]));
        for (bool closed : {true, false}) {
            std::unique_ptr<Path> path(svg.convertPolygon(c.text, closed, identity));
            EXPECT_EQ(path->closed, closed) << c.text;
            expectSegments(*path, lines, c.text);
        }
    }
}
