#pragma once

#include <vector>

namespace Pictavo {

// The dash pattern (an even number of entries, as readDashArray gives it) as
// it runs from `offset` into it (stroke-dashoffset), when that point is the
// start of one of its entries: the pattern rotated to begin there. A pattern
// must begin with a dash, so one that would begin with a gap is given a dash
// of length zero in front and a gap of length zero at its end. An offset inside an entry cannot be written as a pattern that
// starts with a whole entry, and leaves the pattern as it is.
std::vector<float> dashesFromOffset(std::vector<float> dashes, float offset);

}  // namespace Pictavo
