#include "converter/Matrix.h"

namespace Pictavo {

Matrix::Matrix(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
               float m8)
    : m{m0, m1, m2, m3, m4, m5, m6, m7, m8} {}

Matrix Matrix::identity() { return Matrix(1, 0, 0, 0, 1, 0, 0, 0, 1); }

// Returns a * b, summing each element left to right in single precision.
static Matrix product(const Matrix& a, const Matrix& b) {
    Matrix result = Matrix::identity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            result.m[row * 3 + column] = a.m[row * 3] * b.m[column] +
                                         a.m[row * 3 + 1] * b.m[3 + column] +
                                         a.m[row * 3 + 2] * b.m[6 + column];
        }
    }
    return result;
}

void Matrix::multiplyFromRight(const Matrix& b) { *this = product(*this, b); }

Orvane::Point Matrix::operator*(const Orvane::Point& p) const {
    float w = m[8] + (m[6] * p.x + m[7] * p.y);
    float x = (m[2] + (m[0] * p.x + m[1] * p.y)) / w;
    float y = ((m[3] * p.x + m[4] * p.y) + m[5]) / w;
    return Orvane::Point(x, y);
}

}  // namespace Pictavo
