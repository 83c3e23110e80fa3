#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "converter/Matrix.h"
#include "converter/Svg.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

// How much the matrix scales lengths: the square root of the area factor of
// its linear part. Stroke widths and font sizes follow the drawing's scale by
// it, as the points do through the matrix itself.
inline float sizeScale(const Matrix& ctm) {
    return std::sqrt(std::fabs(ctm.m[0] * ctm.m[4] - ctm.m[1] * ctm.m[3]));
}

}  // namespace Pictavo
