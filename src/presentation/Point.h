#pragma once

namespace Orvane {

// A point in slide coordinates: x to the right, y downwards.
class Point {
public:
    float x;
    float y;

    Point(float x, float y);
    Point(const Point&) = default;
    Point& operator=(const Point&) = default;
    virtual ~Point() = default;

    Point operator+(const Point& other) const;
};

}  // namespace Orvane
