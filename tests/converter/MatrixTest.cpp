#include <gtest/gtest.h>

#include <vector>

#include "converter/Matrix.h"

using Orvane::Point;
using Pictavo::Matrix;

TEST(Matrix, MultipliesOnEitherSideAndMapsPoints) {
    const Matrix a(1, 2, 3, 4, 5, 6, 7, 8, 9), b(9, 8, 7, 6, 5, 4, 3, 2, 1);
    Matrix right = a, left = a;
    right.multiplyFromRight(b);
    left.multiplyFromLeft(b);
    EXPECT_EQ(std::vector<float>(right.m, right.m + 9),
              std::vector<float>({30, 24, 18, 84, 69, 54, 138, 114, 90}));
    EXPECT_EQ(std::vector<float>(left.m, left.m + 9),
              std::vector<float>({90, 114, 138, 54, 69, 84, 18, 24, 30}));
    // The projective row divides both coordinates.
    Point p = Matrix(2, 0, 10, 0, 3, 20, 0, 0, 2) * Point(1, 1);
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 11.5f);
}
