#include <gtest/gtest.h>

#include "converter/Matrix.h"

using Orvane::Point;
using Pictavo::Matrix;

static void expectPoint(const Point& actual, float x, float y) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
}

TEST(Matrix, MapsPoints) {
    expectPoint(Matrix::identity() * Point(3, -4), 3, -4);
    expectPoint(Matrix(2, 0, 10, 0, 3, 20, 0, 0, 1) * Point(1, 1), 12, 23);
    // The projective row divides.
    expectPoint(Matrix(1, 0, 0, 0, 1, 0, 0, 0, 2) * Point(4, 6), 2, 3);
}

TEST(Matrix, RightHandMatrixActsFirst) {
    Matrix m = Matrix::identity();
    m.multiplyFromRight(Matrix(1, 0, 5, 0, 1, 0, 0, 0, 1));  // translate (5, 0)
    m.multiplyFromRight(Matrix(2, 0, 0, 0, 2, 0, 0, 0, 1));  // scale 2
    expectPoint(m * Point(1, 0), 7, 0);
}

TEST(Matrix, LeftHandMatrixActsLast) {
    Matrix m = Matrix::identity();
    m.multiplyFromLeft(Matrix(1, 0, 5, 0, 1, 0, 0, 0, 1));  // translate (5, 0)
    m.multiplyFromLeft(Matrix(2, 0, 0, 0, 2, 0, 0, 0, 1));  // scale 2
    expectPoint(m * Point(1, 0), 12, 0);
}

TEST(Matrix, ProductUsesOnlyOldElements) {
    Matrix a(1, 2, 3, 4, 5, 6, 7, 8, 9);
    a.multiplyFromRight(Matrix(9, 8, 7, 6, 5, 4, 3, 2, 1));
    const float expected[9] = {30, 24, 18, 84, 69, 54, 138, 114, 90};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(a.m[i], expected[i]) << i;
}
