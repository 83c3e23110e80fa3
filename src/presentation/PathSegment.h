#pragma once

#include "presentation/Point.h"

namespace Orvane {

// One segment of a path: a straight line from start to end, or a cubic Bezier
// curve from start through control1 and control2 to end.
class PathSegment {
public:
    bool straight = false;
    Point start{0, 0};
    Point end{0, 0};
    Point control1{0, 0};
    Point control2{0, 0};

    constexpr PathSegment() = default;
    constexpr PathSegment(const Point& start, const Point& end, bool straight)
        : straight(straight), start(start), end(end) {}
};

}  // namespace Orvane
