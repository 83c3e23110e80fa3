#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "converter/ConvertedDrawing.h"

using Orvane::Path;
using Pictavo::Matrix;
using Pictavo::SVG;

namespace {

using Shapes = converted::Converter;

}  // namespace

// kappa times 10 is 5.523 and times 5 is 2.761; controls sit that far along
// the tangents at the ends of each quarter.
TEST_F(Shapes, BuildTheirSegments) {
    Matrix identity = Matrix::identity();
    Matrix shift(1, 0, 10, 0, 1, 20, 0, 0, 1);
    // (x, y) to (5 - y, 7 + x): catches an unmapped control point or swapped axes.
    Matrix turn(0, -1, 5, 1, 0, 7, 0, 0, 1);
    struct Case {
        std::function<Path*(SVG&)> build;
        const char* segments;  // as converted::describe writes them
    } cases[] = {
        {[&](SVG& s) { return s.convertCircle(1, 2, 10, turn); },
         "M13,8 C13,13.523 8.523,18 3,18 C-2.523,18 -7,13.523 -7,8 C-7,2.477 -2.523,-2 3,-2 "
         "C8.523,-2 13,2.477 13,8 Z"},
        {[&](SVG& s) { return s.convertEllipse(1, 2, 20, 10, identity); },
         "M1,-8 C12.046,-8 21,-3.523 21,2 C21,7.523 12.046,12 1,12 C-10.046,12 -19,7.523 -19,2 "
         "C-19,-3.523 -10.046,-8 1,-8 Z"},
        {[&](SVG& s) { return s.convertRectangle(1, 2, 10, 20, identity); },
         "M1,2 L11,2 L11,22 L1,22 Z"},
        {[&](SVG& s) { return s.convertRoundedRectangle(10, 20, 100, 50, 10, 5, identity); },
         "M100,20 C105.523,20 110,22.239 110,25 L110,65 C110,67.761 105.523,70 100,70 L20,70 "
         "C14.477,70 10,67.761 10,65 L10,25 C10,22.239 14.477,20 20,20 Z"},
        {[&](SVG& s) { return s.convertLine(0, 0, 3, 4, shift); }, "M10,20 L13,24"},
        {[&](SVG& s) { return s.convertPolygon("0,0 10,0 10,10", false, turn); },
         "M5,7 L5,17 L-5,17"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<Path> path(c.build(svg));
        EXPECT_EQ(converted::describe(*path), c.segments);
    }
}

TEST_F(Shapes, PointsPairNumbersInOrder) {
    struct Case {
        const char* text;
        const char* segments;
    } cases[] = {
        {"10-20-30-40", "M10,-20 L-30,-40 Z"},
        {"- 5 , 6  7 8", "M-5,6 L7,8 Z"},
        {"-+5 6 7 8", "M5,6 L7,8 Z"},
        {"1e2,5,6 7", "M100,5 L6,7 Z"},
        {"1,2 x 3;4 5", "M1,2 L3,4 Z"},
        {"10 20", "- Z"},
    };
    Matrix identity = Matrix::identity();
    for (const Case& c : cases) {
        std::unique_ptr<Path> path(svg.convertPolygon(c.text, true, identity));
        EXPECT_EQ(converted::describe(*path), c.segments) << c.text;
    }
}
