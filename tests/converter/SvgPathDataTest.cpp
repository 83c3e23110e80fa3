#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "converter/ConvertedDrawing.h"

namespace {

using Pictavo::Matrix;

class PathData : public converted::Converter {
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

TEST_F(PathData, DrawsEachCommandAbsoluteAndRelative) {
    expectAll({
        {"", "-"},
        {"M 10 20 L 30 40 H 50 V 60", "M10,20 L30,40 L50,40 L50,60"},
        {"m 10 20 l 30 40 h 5 v 5", "M10,20 L40,60 L45,60 L45,65"},
        {"m5,5c10,0 10,10 0,10", "M5,5 C15,5 15,15 5,15"},
        {"m 0 0 c 0 10 10 10 10 0 s 10 -10 10 0", "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0"},
        // Quadratics raised exactly: each control two thirds of the way to Q.
        {"m 10 0 q 30 30 60 0 t 60 0", "M10,0 C30,20 50,20 70,0 C90,-20 110,-20 130,0"},
    });
}

TEST_F(PathData, RepeatsGroupsAndDropsOnlyAnIncompleteRest) {
    expectAll({
        {"M 0 0 l 10 0 10 10", "M0,0 L10,0 L20,10"},
        {"M 0 0 L 10 0 10", "M0,0 L10,0"},
        {"M 10 10 20 20", "M10,10 L20,20"},
        {"m 10 10 20 20 30 30", "M10,10 L30,30 L60,60"},
        {"M 0 0 L 10-5 10 --5 +5 +-5", "M0,0 L10,-5 L10,5 L5,5"},
        // An unknown letter (here the e after a number) drops its numbers.
        {"M 0 0 L 5 5 1e 3 4 L 7 7", "M0,0 L5,5 L7,7"},
    });
}

// z closes the figure and returns to its start; what draws next starts a new one.
TEST_F(PathData, StartsFiguresAtMovesAndAfterClose) {
    expectAll({
        {"M 0 0 L 10 0 M 20 0 L 30 0", "M0,0 L10,0 | M20,0 L30,0"},
        {"M 0 0 L 10 0 M 20 20", "M0,0 L10,0"},
        {"M 0 0 M 5 5 M 10 10 L 20 20", "- | - | M10,10 L20,20"},
        {"M 0 0 z 5 5 L 1 1", "- Z | M0,0 L1,1"},
        {"M 5 5 l 10 0 z l 0 10", "M5,5 L15,5 Z | M5,5 L5,15"},
        {"M0,0l10-5.5.5zm1 1h2v2", "M0,0 L10,-5.5 Z | M1,1 L3,1 L3,3"},
    });
}

TEST_F(PathData, ReflectsOnlyTheMatchingPreviousControl) {
    expectAll({
        {"M 0 0 L 10 0 S 20 10 30 0", "M0,0 L10,0 C10,0 20,10 30,0"},
        {"M 0 0 Q 10 10 20 0 S 30 10 40 0", "M0,0 C6.667,6.667 13.333,6.667 20,0 C20,0 30,10 40,0"},
        {"M 0 0 C 0 10 10 10 20 0 T 40 0", "M0,0 C0,10 10,10 20,0 C20,0 26.667,0 40,0"},
        {"M 0 0 Q 30 30 60 0 T 120 0 T 180 0",
         "M0,0 C20,20 40,20 60,0 C80,-20 100,-20 120,0 C140,20 160,20 180,0"},
        {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0 S 30 10 30 0",
         "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 C20,10 30,10 30,0"},
        {"M 0 0 C 0 10 10 10 10 0 z S 20 10 30 0",
         "M0,0 C0,10 10,10 10,0 Z | M0,0 C0,0 20,10 30,0"},
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
        // A zero radius draws a line; an arc back to its start, or one that
        // cannot be computed, draws nothing but still moves.
        {"M 0 0 A 0 10 0 0 1 20 0 A 10 0 0 0 1 40 0", "M0,0 L20,0 L40,0"},
        {"M 5 5 A 10 10 0 1 1 5 5 L 6 6", "M5,5 L6,6"},
        {"M 0 0 A 1e39 1 0 0 1 10 0 L 20 0", "M10,0 L20,0"},
    });
}

// Scale x by 2, mirror y, then move by (10, 5): reflections and arc pieces are
// built in user space, before the matrix.
TEST_F(PathData, MapsEveryPointThroughTheMatrix) {
    expectAll(
        {
            {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M10,5 C10,-5 30,-5 30,5 C30,15 50,15 50,5"},
            {"M 0 0 A 10 10 0 0 1 10 10", "M10,5 C21.046,5 30,0.523 30,-5"},
        },
        Matrix(2, 0, 10, 0, -1, 5, 0, 0, 1));
}

}  // namespace
