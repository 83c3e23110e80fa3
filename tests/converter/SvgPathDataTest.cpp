#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "converter/Svg.h"
#include "presentation/Keynote.h"

namespace {

using Orvane::Path;
using Orvane::Point;
using Pictavo::Matrix;

// Points to three decimals: enough to tell a swapped or misplaced point, loose
// enough for the single-precision arithmetic of arcs.
std::string point(const Point& p) {
    char text[64];
    auto rounded = [](float v) { return std::round(v * 1000.0) / 1000.0 + 0.0; };  // no -0
    std::snprintf(text, sizeof text, "%g,%g", rounded(p.x), rounded(p.y));
    return text;
}

// One figure as "M start L end C control1 control2 end ... Z"; a segment that
// does not start where the one before ended shows a new M. "-" is a figure
// without segments.
std::string figure(const Path& path) {
    std::string text, previousEnd;
    for (const auto& segment : path.segments) {
        if (point(segment.start) != previousEnd) text += " M" + point(segment.start);
        previousEnd = point(segment.end);
        text += segment.straight ? " L" + previousEnd
                                 : " C" + point(segment.control1) + " " + point(segment.control2) +
                                       " " + previousEnd;
    }
    text = text.empty() ? "-" : text.substr(1);
    return path.closed ? text + " Z" : text;
}

// The result path's own figure, then each subpath after a bar.
std::string describe(const Path& path) {
    std::string text = figure(path);
    for (const Path* subpath : path.subpaths) text += " | " + figure(*subpath);
    return text;
}

class PathData : public testing::Test {
protected:
    Orvane::Keynote keynote{(testing::TempDir() + "pathdata.key").c_str(), 800, 600};
    Pictavo::SVG svg{keynote};

    std::unique_ptr<Path> convert(const char* data, Matrix ctm = Matrix::identity()) {
        return std::unique_ptr<Path>(svg.convertPath(data, ctm));
    }

    struct Case {
        const char* data;
        const char* expected;
    };

    void expectAll(std::initializer_list<Case> cases, Matrix ctm = Matrix::identity()) {
        for (const Case& c : cases)
            EXPECT_EQ(describe(*convert(c.data, ctm)), c.expected) << c.data;
    }
};

TEST_F(PathData, DrawsEachCommandAbsoluteAndRelative) {
    expectAll({
        {"M 10 20 L 30 40", "M10,20 L30,40"},
        {"m 10 20 l 30 40", "M10,20 L40,60"},
        {"M 5 5 H 10 h 10 V 20 v 10", "M5,5 L10,5 L20,5 L20,20 L20,30"},
        {"m5,5c10,0 10,10 0,10", "M5,5 C15,5 15,15 5,15"},
        // Quadratics raised exactly: controls two thirds of the way to Q.
        {"M 0 0 Q 30 30 60 0", "M0,0 C20,20 40,20 60,0"},
        {"m 10 0 q 30 30 60 0", "M10,0 C30,20 50,20 70,0"},
        {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0"},
        {"m 0 0 c 0 10 10 10 10 0 s 10 -10 10 0", "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0"},
        {"M 0 0 Q 30 30 60 0 T 120 0", "M0,0 C20,20 40,20 60,0 C80,-20 100,-20 120,0"},
        {"m 0 0 q 30 30 60 0 t 60 0", "M0,0 C20,20 40,20 60,0 C80,-20 100,-20 120,0"},
        {"M 0 0 h 10 v 10 h -10 z", "M0,0 L10,0 L10,10 L0,10 Z"},
        {"", "-"},
    });
}

TEST_F(PathData, RepeatsGroupsAndDropsOnlyAnIncompleteRest) {
    expectAll({
        {"M 0 0 l 10 0 10 10", "M0,0 L10,0 L20,10"},
        {"M 0 0 L 10 0 10", "M0,0 L10,0"},
        {"M 0 0 C 1 1 2 2 3 3 4 4", "M0,0 C1,1 2,2 3,3"},
        {"M 10 10 20 20", "M10,10 L20,20"},
        {"m 10 10 20 20 30 30", "M10,10 L30,30 L60,60"},
        {"M 0 0 z 5 5 L 1 1", "- Z | M0,0 L1,1"},
    });
}

TEST_F(PathData, ReadsNumbersAndLettersAsWritten) {
    expectAll({
        {"M 0 0 L 10-5", "M0,0 L10,-5"},
        {"M 0 0 L 10 --5 +5 +-5", "M0,0 L10,5 L5,5"},
        {"M0 0L.5.5", "M0,0 L0.5,0.5"},
        {"M 0 0 L 1e1 5E-1 1.5e+1 -2e0", "M0,0 L10,0.5 L15,-2"},
        {"M 0 0 L 5 5 1e 3 4 L 7 7", "M0,0 L5,5 L7,7"},
        {"M 0 0 X 5 5 L 10 0", "M0,0 L10,0"},
        {"M 0 0 L 10 0 zM 5 5 L 6 6", "M0,0 L10,0 Z | M5,5 L6,6"},
        {"M0,0l10-5.5.5zm1 1h2v2", "M0,0 L10,-5.5 Z | M1,1 L3,1 L3,3"},
    });
}

TEST_F(PathData, StartsFiguresAtMovesAndAfterClose) {
    expectAll({
        {"M 0 0 L 10 0 M 20 0 L 30 0", "M0,0 L10,0 | M20,0 L30,0"},
        {"M 0 0 L 10 0 M 20 20", "M0,0 L10,0"},
        {"M 0 0 M 5 5 M 10 10 L 20 20", "- | - | M10,10 L20,20"},
        {"M 0 0 L 1 1 M 2 2 M 3 3 L 4 4", "M0,0 L1,1 | - | M3,3 L4,4"},
        {"M 0 0 L 10 0 L 10 10 z L 0 20", "M0,0 L10,0 L10,10 Z | M0,0 L0,20"},
        {"M 5 5 l 10 0 z l 0 10", "M5,5 L15,5 Z | M5,5 L5,15"},
    });
}

TEST_F(PathData, ReflectsOnlyTheMatchingPreviousControl) {
    expectAll({
        {"M 0 0 L 10 0 S 20 10 30 0", "M0,0 L10,0 C10,0 20,10 30,0"},
        {"M 0 0 Q 10 10 20 0 S 30 10 40 0", "M0,0 C6.667,6.667 13.333,6.667 20,0 C20,0 30,10 40,0"},
        {"M 0 0 C 0 10 10 10 20 0 T 40 0", "M0,0 C0,10 10,10 20,0 C20,0 26.667,0 40,0"},
        {"M 0 0 Q 30 30 60 0 L 70 0 T 100 0", "M0,0 C20,20 40,20 60,0 L70,0 C70,0 80,0 100,0"},
        {"M 0 0 Q 30 30 60 0 T 120 0 T 180 0",
         "M0,0 C20,20 40,20 60,0 C80,-20 100,-20 120,0 C140,20 160,20 180,0"},
        {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0 S 30 10 30 0",
         "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 C20,10 30,10 30,0"},
        {"M 0 0 C 0 10 10 10 10 0 z S 20 10 30 0",
         "M0,0 C0,10 10,10 10,0 Z | M0,0 C0,0 20,10 30,0"},
        {"M 0 0 A 0 0 0 0 1 10 0 S 20 10 30 0", "M0,0 L10,0 C10,0 20,10 30,0"},
    });
}

TEST_F(PathData, SplitsArcsIntoQuarterTurnPieces) {
    const char* half = "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0";
    expectAll({
        {"M 0 0 A 10 10 0 0 1 10 10", "M0,0 C5.523,0 10,4.477 10,10"},
        {"M 0 0 A 10 10 0 0 1 20 0", half},
        {"M 0 0 A 1 1 0 0 1 20 0", half},
        {"M 0 0 A 10 10 0 0120 0", half},
        {"M 0 0 A 10 10 0 0 0 20 0", "M0,0 C0,5.523 4.477,10 10,10 C15.523,10 20,5.523 20,0"},
        {"M 0 0 A 10 10 0 1 1 10 10",
         "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0 C20,5.523 15.523,10 10,10"},
        {"m 10 10 a 10 10 0 0 1 20 0 L 40 10",
         "M10,10 C10,4.477 14.477,0 20,0 C25.523,0 30,4.477 30,10 L40,10"},
        {"M 0 0 A 20 10 30 0 1 20 0", "M0,0 C2.441,-4.41 11.012,-4.41 20,0"},
        {"M 0 0 A 20 10 -30 1 0 20 0",
         "M0,0 C-7.417,3.639 -13.382,9.452 -14.979,14.599 C-16.576,19.745 -13.472,23.15 "
         "-7.185,23.15 C-0.897,23.15 7.262,19.745 13.305,14.599 C19.349,9.452 22.014,3.639 20,0"},
        {"M 0 0 A 0 10 0 0 1 20 0", "M0,0 L20,0"},
        {"M 0 0 A 10 0 0 0 1 20 0", "M0,0 L20,0"},
        {"M 5 5 A 10 10 0 1 1 5 5 L 6 6", "M5,5 L6,6"},
        {"M 0 0 A 1e39 1 0 0 1 10 0 L 20 0", "M10,0 L20,0"},
    });
}

// Scale x by 2, mirror y, then move by (10, 5): relative bases, reflections and
// quadratic controls are taken in user space, before the matrix.
TEST_F(PathData, MapsEveryPointThroughTheMatrix) {
    const Matrix scaledAndMirrored(2, 0, 10, 0, -1, 5, 0, 0, 1);
    expectAll(
        {
            {"m 1 1 l 2 0", "M12,4 L16,4"},
            {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M10,5 C10,-5 30,-5 30,5 C30,15 50,15 50,5"},
            {"M 0 0 Q 30 30 60 0 T 120 0", "M10,5 C50,-15 90,-15 130,5 C170,25 210,25 250,5"},
            {"M 0 0 A 10 10 0 0 1 10 10", "M10,5 C21.046,5 30,0.523 30,-5"},
        },
        scaledAndMirrored);
}

TEST_F(PathData, StaysLinearAndSafeOnHugeInput) {
    std::string lines = "M0 0";
    for (int i = 0; i < 100000; ++i) lines += " L1 " + std::to_string(i);
    EXPECT_EQ(convert(lines.c_str())->segments.size(), 100000u);

    std::string digits(1000000, '1');
    auto path = convert(("M0 0 L" + digits + " 5").c_str());
    ASSERT_EQ(path->segments.size(), 1u);
    EXPECT_FALSE(std::isfinite(path->segments[0].end.x));
    // Two flags are split off the run, the rest is one number: no arc is complete.
    EXPECT_TRUE(convert(("M0 0 A1 1 0 " + digits).c_str())->segments.empty());
    EXPECT_EQ(describe(*convert((std::string(1000000, 'z') + " M0 0 L1 1").c_str())),
              "M0,0 L1,1 Z");
    EXPECT_EQ(describe(*convert(nullptr)), "-");
}

}  // namespace
