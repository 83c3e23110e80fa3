#include "presentation/Point.h"

namespace Orvane {

Point::Point(float x, float y) : x(x), y(y) {}

Point Point::operator+(const Point& other) const { return Point(x + other.x, y + other.y); }

}  // namespace Orvane
