#pragma once

#include "presentation/Point.h"

namespace Orvane {

// One segment of a path: a straight line from start to end, or a cubic Bezier
// curve from start through control1 and control2 to end.
class PathSegment {
public:
    bool straight;
    Point start;
    Point end;
    Point control1;
    Point control2;

    PathSegment();
    PathSegment(const Point& start, const Point& end, bool straight);
    PathSegment(const PathSegment&) = default;
    PathSegment& operator=(const PathSegment&) = default;
    virtual ~PathSegment() = default;
};

}  // namespace Orvane
