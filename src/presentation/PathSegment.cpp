#include "presentation/PathSegment.h"

namespace Orvane {

PathSegment::PathSegment()
    : straight(false), start(0, 0), end(0, 0), control1(0, 0), control2(0, 0) {}

PathSegment::PathSegment(const Point& start, const Point& end, bool straight)
    : straight(straight), start(start), end(end), control1(0, 0), control2(0, 0) {}

}  // namespace Orvane
