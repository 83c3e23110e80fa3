#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "converter/ConvertedDrawing.h"
#include "converter/PathGeometry.h"

namespace {

using Pictavo::Matrix;
using Pictavo::PathGeometry;

// The geometry as converted::describe writes its path.
std::string described(const PathGeometry& geometry, const Matrix& ctm = Matrix::identity()) {
    return converted::describe(*Pictavo::mappedPath(geometry, ctm));
}

using Case = std::pair<const char*, const char*>;  // input, geometry as described

void expectPathData(std::initializer_list<Case> cases, const Matrix& ctm = Matrix::identity()) {
    PathGeometry geometry;
    for (const auto& [data, expected] : cases) {
        Pictavo::readPathData(data, geometry);
        EXPECT_EQ(described(geometry, ctm), expected) << data;
    }
}

}  // namespace

// Further pairs of a move draw lines. z closes the figure and returns to its
// start; what draws next starts a new figure there. Smooth curves reflect only
// the matching previous control; quadratics are raised exactly, each control
// two thirds of the way to Q. Figures without segments are dropped.
TEST(PathData, GroupsFiguresAndReflections) {
    expectPathData({
        {"m 10 10 20 20 30 30", "M10,10 L30,30 L60,60"},
        {"M 0 0 H 10 V 10 h -5 v -5 Z", "M0,0 L10,0 L10,10 L5,10 L5,5 Z"},
        {"M 0 0 M 5 5 M 10 10 L 20 20", "M10,10 L20,20"},
        {"M 5 5 l 10 0 z l 0 10", "M5,5 L15,5 Z | M5,5 L5,15"},
        {"M 0 0 L 10 0 S 20 10 30 0", "M0,0 L10,0 C10,0 20,10 30,0"},
        {"M 0 0 Q 10 10 20 0 S 30 10 40 0", "M0,0 C6.667,6.667 13.333,6.667 20,0 C20,0 30,10 40,0"},
        {"M 0 0 C 0 10 10 10 20 0 T 40 0", "M0,0 C0,10 10,10 20,0 C20,0 26.667,0 40,0"},
        {"M 0 0 Q 30 30 60 0 T 120 0 T 180 0",
         "M0,0 C20,20 40,20 60,0 C80,-20 100,-20 120,0 C140,20 160,20 180,0"},
        {"M 0 0 C 0 10 10 10 10 0 z S 20 10 30 0",
         "M0,0 C0,10 10,10 10,0 Z | M0,0 C0,0 20,10 30,0"},
    });
}

// Drawing stops at the first thing the grammar does not allow, keeping what
// was drawn before it; a group cut short is dropped.
TEST(PathData, StopsAtTheFirstError) {
    expectPathData({
        {"", "-"}, {"L 10 10", "-"}, {"M,0 0 L 1 1", "-"}, {"M 0 0 L 10-5 10 --5 7 7", "M0,0 L10,-5"},
        {"M 0 0 L 5 5 1. 3", "M0,0 L5,5"}, {"M 0 0 L 5 0 z 5 5 L 1 1", "M0,0 L5,0 Z"},
        {"M 0 0 L 5 0 X 5 5", "M0,0 L5,0"}, {"M0 0L1 1,", "M0,0 L1,1"},
        {"M 0 0 L 10 0 M 20 20 L", "M0,0 L10,0"},
    });
}

TEST(PathData, ArcsSplitIntoQuarterTurnPieces) {
    expectPathData({
        {"M 0 0 A 10 -10 0 0 1 10 10", "M0,0 C5.523,0 10,4.477 10,10"},  // radii are lengths
        {"M0 0a10 10 0 0110 10", "M0,0 C5.523,0 10,4.477 10,10"},        // flags against numbers
        {"M 0 0 A 10 10 0 2 1 10 10", "-"},                              // a flag is 0 or 1
        // Radii too small to reach the end grow until they do.
        {"M 0 0 A 1 1 0 0 1 20 0", "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0"},
        {"M 0 0 A 10 10 0 0 0 20 0", "M0,0 C0,5.523 4.477,10 10,10 C15.523,10 20,5.523 20,0"},
        {"M 0 0 A 10 10 0 1 1 10 10",
         "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0 C20,5.523 15.523,10 10,10"},
        {"M 0 0 A 20 10 30 0 1 20 0", "M0,0 C2.441,-4.41 11.012,-4.41 20,0"},
        // A zero radius draws a line; an arc back to its start, or one that
        // cannot be computed, draws nothing but still moves.
        {"M 0 0 A 0 10 0 0 1 20 0 A 10 0 0 0 1 40 0", "M0,0 L20,0 L40,0"},
        {"M 5 5 A 10 10 0 1 1 5 5 L 6 6", "M5,5 L6,6"}, {"M 0 0 A 1e39 1 0 0 1 10 0 L 20 0", "M10,0 L20,0"},
    });
}

// Scale x by 2, mirror y, then move by (10, 5): reflections and arc pieces are
// built in user space, before the matrix.
TEST(PathData, MapsEveryPointThroughTheMatrix) {
    expectPathData(
        {
            {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M10,5 C10,-5 30,-5 30,5 C30,15 50,15 50,5"},
            {"M 0 0 A 10 10 0 0 1 10 10", "M10,5 C21.046,5 30,0.523 30,-5"},
        },
        Matrix(2, 0, 10, 0, -1, 5, 0, 0, 1));
}

// kappa times 10 is 5.523, times 20 is 11.046 and times 5 is 2.761; controls
// sit that far along the tangents at the ends of each quarter.
TEST(Shapes, BuildTheirOutlines) {
    PathGeometry geometry;
    Pictavo::ellipseOutline(1, 2, 20, 10, geometry);
    EXPECT_EQ(described(geometry),
              "M21,2 C21,7.523 12.046,12 1,12 C-10.046,12 -19,7.523 -19,2 C-19,-3.523 -10.046,-8 1,-8 "
              "C12.046,-8 21,-3.523 21,2 Z");
    const std::pair<std::array<float, 6>, const char*> rectangles[] = {
        {{10, 20, 100, 50, 10, 5},
         "M100,20 C105.523,20 110,22.239 110,25 L110,65 C110,67.761 105.523,70 100,70 L20,70 "
         "C14.477,70 10,67.761 10,65 L10,25 C10,22.239 14.477,20 20,20 Z"},
        // A radius not given takes the other; each is at most half its side.
        {{0, 0, 20, 10, -1, 100},
         "M10,0 C15.523,0 20,2.239 20,5 L20,5 C20,7.761 15.523,10 10,10 L10,10 C4.477,10 0,7.761 0,5 "
         "L0,5 C0,2.239 4.477,0 10,0 Z"},
        {{0, 0, 20, 10, -1, -1}, "M0,0 L20,0 L20,10 L0,10 Z"},
        {{0, 0, 20, 10, 0, 5}, "M0,0 L20,0 L20,10 L0,10 Z"}, {{0, 0, 0, 10, -1, -1}, "-"},
    };
    for (const auto& [r, expected] : rectangles) {
        Pictavo::rectangleOutline(r[0], r[1], r[2], r[3], r[4], r[5], geometry);
        EXPECT_EQ(described(geometry), expected) << r[2] << " " << r[4] << " " << r[5];
    }
    Pictavo::ellipseOutline(0, 0, 0, 5, geometry);
    EXPECT_EQ(described(geometry), "-") << "a zero radius draws nothing";
}

// Coordinates pair up in order up to the first error; an odd last one is dropped.
TEST(Shapes, PointsPairNumbersUpToAnError) {
    const Case cases[] = {
        {"10-20-30-40", "M10,-20 L-30,-40 Z"}, {" 1e2,5,6 7 ", "M100,5 L6,7 Z"},
        {"1 2 3 4 5", "M1,2 L3,4 Z"}, {"1 2 3 4 x 5 6", "M1,2 L3,4 Z"}, {"-+5 6 7 8", "-"}, {"1,2", "-"},
    };
    PathGeometry geometry;
    for (const auto& [text, expected] : cases) {
        Pictavo::readPoints(text, true, geometry);
        EXPECT_EQ(described(geometry), expected) << text;
    }
    Pictavo::readPoints("0,0 10,0 10,10", false, geometry);
    EXPECT_EQ(described(geometry), "M0,0 L10,0 L10,10");
}
