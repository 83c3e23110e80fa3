#pragma once

#include "presentation/Point.h"

namespace Pictavo {

// A 3x3 single-precision matrix stored row by row, applied to column vectors
// (x, y, 1): m[2] and m[5] hold the translation.
class Matrix {
public:
    float m[9];

    Matrix(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
           float m8);

    static Matrix identity();

    void multiplyFromRight(const Matrix& b);  // this := this * b
    Orvane::Point operator*(const Orvane::Point& p) const;
};

}  // namespace Pictavo
