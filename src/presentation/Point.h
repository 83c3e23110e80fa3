#pragma once

namespace Orvane {

// A point in slide coordinates: x to the right, y downwards.
class Point {
public:
    float x;
    float y;

    constexpr Point(float x, float y) : x(x), y(y) {}

    constexpr Point operator+(const Point& other) const { return Point(x + other.x, y + other.y); }
};

}  // namespace Orvane
