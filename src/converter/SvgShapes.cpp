#include <algorithm>
#include <cmath>

#include "converter/PathGeometry.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;

namespace {

// 4/3 (sqrt 2 - 1): a quarter of a unit circle as a cubic curve has its
// controls this far along the tangents at its ends.
const float kappa = static_cast<float>(4.0 / 3.0 * (std::sqrt(2.0) - 1.0));

PathSegment line(const Point& start, const Point& end) { return PathSegment(start, end, true); }

PathSegment curve(const Point& start, const Point& control1, const Point& control2,
                  const Point& end) {
    PathSegment segment(start, end, false);
    segment.control1 = control1;
    segment.control2 = control2;
    return segment;
}

void endFigure(PathGeometry& out, bool closed) {
    if (out.segments.empty()) return;
    out.figures.push_back({out.segments.size(), closed});
}

// Sizes that are not positive (NaN included) draw nothing.
bool positive(float value) { return value > 0; }

PathSegment transformedSegment(const PathSegment& segment, const Matrix& ctm) {
    PathSegment mapped(segment);
    mapped.start = ctm * segment.start;
    mapped.control1 = ctm * segment.control1;
    mapped.end = ctm * segment.end;
    mapped.control2 = ctm * segment.control2;
    return mapped;
}

// Three sides; the closed flag draws the fourth.
void squareCorneredRectangle(float x, float y, float width, float height, PathGeometry& out) {
    Point topLeft(x, y);
    Point topRight(x + width, y);
    Point bottomRight(x + width, y + height);
    Point bottomLeft(x, y + height);
    out.segments.push_back(line(topLeft, topRight));
    out.segments.push_back(line(topRight, bottomRight));
    out.segments.push_back(line(bottomRight, bottomLeft));
    endFigure(out, true);
}

// Starts at the right end of the top side and goes clockwise: corner curves at
// odd steps, straight sides at even ones. The top side back to the start is
// drawn by the closed flag.
void roundedRectangle(float x, float y, float width, float height, float rx, float ry,
                      PathGeometry& out) {
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
    for (int i = 1; i < 8; ++i) {
        Point from = outline(i - 1);
        Point to = outline(i);
        if (i % 2 == 0) {
            out.segments.push_back(line(from, to));
        } else {
            int c = i - 1;
            out.segments.push_back(
                curve(from, from + controlOffset(c), to + controlOffset(c + 1), to));
        }
    }
    endFigure(out, true);
}

}  // namespace

// Four quarter curves: right, bottom, left, top, and back to the right.
void ellipseOutline(float cx, float cy, float rx, float ry, PathGeometry& out) {
    out.clear();
    if (!positive(rx) || !positive(ry)) return;
    float kx = kappa * rx;
    float ky = kappa * ry;
    Point top(cx, cy - ry);
    Point right(cx + rx, cy);
    Point bottom(cx, cy + ry);
    Point left(cx - rx, cy);
    out.segments.push_back(curve(right, Point(cx + rx, cy + ky), Point(cx + kx, cy + ry), bottom));
    out.segments.push_back(curve(bottom, Point(cx - kx, cy + ry), Point(cx - rx, cy + ky), left));
    out.segments.push_back(curve(left, Point(cx - rx, cy - ky), Point(cx - kx, cy - ry), top));
    out.segments.push_back(curve(top, Point(cx + kx, cy - ry), Point(cx + rx, cy - ky), right));
    endFigure(out, true);
}

void rectangleOutline(float x, float y, float width, float height, float rx, float ry,
                      PathGeometry& out) {
    out.clear();
    if (!positive(width) || !positive(height)) return;
    if (rx < 0) rx = ry;
    if (ry < 0) ry = rx;
    if (!positive(rx) || !positive(ry)) {
        squareCorneredRectangle(x, y, width, height, out);
        return;
    }
    roundedRectangle(x, y, width, height, std::min(rx, width / 2), std::min(ry, height / 2), out);
}

void lineOutline(float x1, float y1, float x2, float y2, PathGeometry& out) {
    out.clear();
    out.segments.push_back(line(Point(x1, y1), Point(x2, y2)));
    endFigure(out, false);
}

void readPoints(std::string_view points, bool closed, PathGeometry& out) {
    out.clear();
    ValueScanner scanner(points);
    float x, y;
    bool started = false;
    Point previous(0, 0);
    scanner.skipSpace();
    while (!scanner.atEnd()) {
        if (started) scanner.skipCommaAndSpace();
        if (!scanner.number(x)) break;
        scanner.skipCommaAndSpace();
        if (!scanner.number(y)) break;
        Point point(x, y);
        if (started) out.segments.push_back(line(previous, point));
        previous = point;
        started = true;
        scanner.skipSpace();
    }
    endFigure(out, closed);
}

std::unique_ptr<Path> mappedPath(const PathGeometry& geometry, const Matrix& ctm) {
    auto path = std::make_unique<Path>();
    std::size_t begin = 0;
    for (const FigureEnd& figure : geometry.figures) {
        std::unique_ptr<Path> subpath = begin == 0 ? nullptr : std::make_unique<Path>();
        Path* receiving = subpath ? subpath.get() : path.get();
        receiving->segments.reserve(figure.end - begin);
        for (std::size_t i = begin; i < figure.end; ++i)
            receiving->addSegment(transformedSegment(geometry.segments[i], ctm));
        receiving->closed = figure.closed;
        if (subpath) path->addSubpath(std::move(subpath));
        begin = figure.end;
    }
    return path;
}

}  // namespace Pictavo
