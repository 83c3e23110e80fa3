#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "converter/ConvertedDrawing.h"

namespace {

using Pictavo::Matrix;

class Geometry : public converted::Converter {
protected:
    struct Case {
        const char* data;
        const char* expected;  // as converted::describe writes it
    };

    void expectAll(std::initializer_list<Case> cases, Matrix ctm = Matrix::identity()) {
        for (const Case& c : cases) {
            std::unique_ptr<Orvane::Path> path(svg.convertPath(c.data, ctm));
            EXPECT_EQ(converted::describe(*path), c.expected) << c.data;
        }
    }
};

// Further pairs of a move draw lines; only an incomplete rest of a command is
// dropped. z closes the figure and returns to its start; what draws next
// starts a new figure there. Smooth curves reflect only the matching previous
// control; quadratics are raised exactly, each control two thirds of the way
// to Q.
TEST_F(Geometry, PathDataGroupsFiguresAndReflections) {
    expectAll({
        {"", "-"},
        {"m 10 10 20 20 30 30", "M10,10 L30,30 L60,60"},
        {"M 0 0 L 10-5 10 --5 +5 +-5 7", "M0,0 L10,-5 L10,5 L5,5"},
        // An unknown letter (here the e after a number) drops its numbers.
        {"M 0 0 L 5 5 1e 3 4 L 7 7", "M0,0 L5,5 L7,7"},
        {"M 0 0 L 10 0 M 20 20", "M0,0 L10,0"},
        {"M 0 0 M 5 5 M 10 10 L 20 20", "- | - | M10,10 L20,20"},
        {"M 0 0 z 5 5 L 1 1", "- Z | M0,0 L1,1"},
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

TEST_F(Geometry, ArcsSplitIntoQuarterTurnPieces) {
    expectAll({
        {"M 0 0 A 10 -10 0 0 1 10 10", "M0,0 C5.523,0 10,4.477 10,10"},  // radii are lengths
        // Radii too small to reach the end grow until they do.
        {"M 0 0 A 1 1 0 0 1 20 0", "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0"},
        {"M 0 0 A 10 10 0 0 0 20 0", "M0,0 C0,5.523 4.477,10 10,10 C15.523,10 20,5.523 20,0"},
        {"M 0 0 A 10 10 0 1 1 10 10",
         "M0,0 C0,-5.523 4.477,-10 10,-10 C15.523,-10 20,-5.523 20,0 C20,5.523 15.523,10 10,10"},
        {"M 0 0 A 20 10 30 0 1 20 0", "M0,0 C2.441,-4.41 11.012,-4.41 20,0"},
        // A zero radius draws a line; an arc back to its start, or one that
        // cannot be computed, draws nothing but still moves.
        {"M 0 0 A 0 10 0 0 1 20 0 A 10 0 0 0 1 40 0", "M0,0 L20,0 L40,0"},
        {"M 5 5 A 10 10 0 1 1 5 5 L 6 6", "M5,5 L6,6"},
        {"M 0 0 A 1e39 1 0 0 1 10 0 L 20 0", "M10,0 L20,0"},
    });
}

// Scale x by 2, mirror y, then move by (10, 5): reflections and arc pieces are
// built in user space, before the matrix.
TEST_F(Geometry, PathDataMapsEveryPointThroughTheMatrix) {
    expectAll(
        {
            {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M10,5 C10,-5 30,-5 30,5 C30,15 50,15 50,5"},
            {"M 0 0 A 10 10 0 0 1 10 10", "M10,5 C21.046,5 30,0.523 30,-5"},
        },
        Matrix(2, 0, 10, 0, -1, 5, 0, 0, 1));
}

// kappa times 10 is 5.523, times 20 is 11.046 and times 5 is 2.761; controls
// sit that far along the tangents at the ends of each quarter. The turn maps
// (x, y) to (5 - y, 7 + x): it catches an unmapped control point or swapped axes.
TEST_F(Geometry, ShapesBuildTheirSegments) {
    Matrix turn(0, -1, 5, 1, 0, 7, 0, 0, 1), identity = Matrix::identity();
    std::unique_ptr<Orvane::Path> ellipse(svg.convertEllipse(1, 2, 20, 10, turn));
    EXPECT_EQ(converted::describe(*ellipse),
              "M13,8 C13,19.046 8.523,28 3,28 C-2.523,28 -7,19.046 -7,8 C-7,-3.046 -2.523,-12 3,-12 "
              "C8.523,-12 13,-3.046 13,8 Z");
    std::unique_ptr<Orvane::Path> rounded(svg.convertRoundedRectangle(10, 20, 100, 50, 10, 5, identity));
    EXPECT_EQ(converted::describe(*rounded),
              "M100,20 C105.523,20 110,22.239 110,25 L110,65 C110,67.761 105.523,70 100,70 L20,70 "
              "C14.477,70 10,67.761 10,65 L10,25 C10,22.239 14.477,20 20,20 Z");
    std::unique_ptr<Orvane::Path> polyline(svg.convertPolygon("0,0 10,0 10,10", false, turn));
    EXPECT_EQ(converted::describe(*polyline), "M5,7 L5,17 L-5,17");
}

// Anything but signs and numbers only separates; a lone number is dropped.
TEST_F(Geometry, PointsPairNumbersInOrder) {
    const std::pair<const char*, const char*> cases[] = {
        {"10-20-30-40", "M10,-20 L-30,-40 Z"},
        {"-+5 6 7 8 9", "M5,6 L7,8 Z"},
        {"1e2,5,6 7", "M100,5 L6,7 Z"},
        {"- 5 , 6 x 3;4", "M-5,6 L3,4 Z"},
    };
    Matrix identity = Matrix::identity();
    for (const auto& [text, segments] : cases) {
        std::unique_ptr<Orvane::Path> path(svg.convertPolygon(text, true, identity));
        EXPECT_EQ(converted::describe(*path), segments) << text;
    }
}

}  // namespace
