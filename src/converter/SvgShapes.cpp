#include <cstring>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;

namespace {

PathSegment line(const Point& start, const Point& end) { return PathSegment(start, end, true); }

PathSegment curve(const Point& start, const Point& control1, const Point& control2,
                  const Point& end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

}  // namespace

PathSegment SVG::transformedSegment(const PathSegment& segment, Matrix& ctm) const {
    PathSegment mapped(segment);
    mapped.start = ctm * segment.start;
    mapped.control1 = ctm * segment.control1;
    mapped.end = ctm * segment.end;
    mapped.control2 = ctm * segment.control2;
    return mapped;
}

// A circle is the ellipse with both radii equal: the same points, computed the
// same way.
Path* SVG::convertCircle(float cx, float cy, float r, Matrix& ctm) {
    return convertEllipse(cx, cy, r, r, ctm);
}

// Four quarter curves, clockwise on screen from the top point.
Path* SVG::convertEllipse(float cx, float cy, float rx, float ry, Matrix& ctm) {
    float kx = kappa * rx;
    float ky = kappa * ry;
    Point top(cx, cy - ry);
    Point right(cx + rx, cy);
    Point bottom(cx, cy + ry);
    Point left(cx - rx, cy);
    Path* path = new Path();
    path->segments.reserve(4);
    path->addSegment(transformedSegment(
        curve(top, Point(cx + kx, cy - ry), Point(cx + rx, cy - ky), right), ctm));
    path->addSegment(transformedSegment(
        curve(right, Point(cx + rx, cy + ky), Point(cx + kx, cy + ry), bottom), ctm));
    path->addSegment(transformedSegment(
        curve(bottom, Point(cx - kx, cy + ry), Point(cx - rx, cy + ky), left), ctm));
    path->addSegment(transformedSegment(
        curve(left, Point(cx - rx, cy - ky), Point(cx - kx, cy - ry), top), ctm));
    path->closed = true;
    return path;
}

// Three sides; the closed flag draws the fourth.
Path* SVG::convertRectangle(float x, float y, float width, float height, Matrix& ctm) {
    Point topLeft(x, y);
    Point topRight(x + width, y);
    Point bottomRight(x + width, y + height);
    Point bottomLeft(x, y + height);
    Path* path = new Path();
    path->segments.reserve(3);
    path->addSegment(transformedSegment(line(topLeft, topRight), ctm));
    path->addSegment(transformedSegment(line(topRight, bottomRight), ctm));
    path->addSegment(transformedSegment(line(bottomRight, bottomLeft), ctm));
    path->closed = true;
    return path;
}

// Starts at the right end of the top side and goes clockwise: corner curves at
// odd steps, straight sides at even ones. The top side back to the start is
// drawn by the closed flag.
Path* SVG::convertRoundedRectangle(float x, float y, float width, float height, float rx, float ry,
                                   Matrix& ctm) {
    static const int sw[8] = {1, 1, 1, 1, 0, 0, 0, 0};
    static const int sh[8] = {0, 0, 1, 1, 1, 1, 0, 0};
    static const int srx[8] = {-1, 0, 0, -1, 1, 0, 0, 1};
    static const int sry[8] = {0, 1, -1, 0, 0, -1, 1, 0};
    static const int cpx[8] = {1, 0, 0, 1, -1, 0, 0, -1};
    static const int cpy[8] = {0, -1, 1, 0, 0, 1, -1, 0};
    auto outline = [&](int i) {
        return Point((x + sw[i] * width) + srx[i] * rx, (y + sh[i] * height) + sry[i] * ry);
    };
    float kx = kappa * rx;
    float ky = kappa * ry;
    auto controlOffset = [&](int c) { return Point(cpx[c] * kx, cpy[c] * ky); };

    Path* path = new Path();
    path->segments.reserve(7);
    for (int i = 1; i < 8; ++i) {
        Point from = outline(i - 1);
        Point to = outline(i);
        if (i % 2 == 0) {
            path->addSegment(transformedSegment(line(from, to), ctm));
        } else {
            int c = i - 1;
            path->addSegment(transformedSegment(
                curve(from, from + controlOffset(c), to + controlOffset(c + 1), to), ctm));
        }
    }
    path->closed = true;
    return path;
}

Path* SVG::convertLine(float x1, float y1, float x2, float y2, Matrix& ctm) {
    Path* path = new Path();
    path->addSegment(transformedSegment(line(Point(x1, y1), Point(x2, y2)), ctm));
    return path;
}

// Numbers pair up into points in the order written; anything but signs and
// numbers only separates them, and a number without its partner is dropped.
Path* SVG::convertPolygon(const char* points, bool closed, Matrix& ctm) {
    Path* path = new Path();
    char token[128];
    bool negative = false;
    bool xPending = false;
    float x = 0;
    bool started = false;
    Point previous(0, 0);
    const char* position = points;
    TokenType type;
    while (tokenParser(position, token, &position, type) > 0) {
        if (type == TokenType::Sign) {
            negative = std::strcmp(token, "-") == 0;
            continue;
        }
        if (type != TokenType::Number) continue;
        float number = static_cast<float>(numberValue(token));
        if (negative) number = -number;
        negative = false;
        if (!xPending) {
            x = number;
            xPending = true;
            continue;
        }
        xPending = false;
        Point point(x, number);
        if (started) pendingSegments.push_back(transformedSegment(line(previous, point), ctm));
        previous = point;
        started = true;
    }
    path->closed = closed;
    addPendingSegments(*path, pendingSegments);
    return path;
}

}  // namespace Pictavo
