#include "converter/TextOnPath.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "converter/Document.h"

namespace Pictavo {

namespace {

using Orvane::Point;

// Chords a curve is measured by: enough for a label's place on it.
const int chordsPerCurve = 16;

Point cubicPoint(const Orvane::PathSegment& s, float t) {
    const float u = 1 - t;
    const float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return Point(a * s.start.x + b * s.control1.x + c * s.control2.x + d * s.end.x,
                 a * s.start.y + b * s.control1.y + c * s.control2.y + d * s.end.y);
}

// The first figure as a polyline.
std::vector<Point> firstFigurePoints(const PathGeometry& geometry) {
    std::vector<Point> points;
    const std::size_t end = geometry.figures.empty() ? 0 : geometry.figures.front().end;
    for (std::size_t i = 0; i < end; ++i) {
        const Orvane::PathSegment& segment = geometry.segments[i];
        if (points.empty()) points.push_back(segment.start);
        if (segment.straight) {
            points.push_back(segment.end);
            continue;
        }
        for (int chord = 1; chord <= chordsPerCurve; ++chord)
            points.push_back(cubicPoint(segment, static_cast<float>(chord) / chordsPerCurve));
    }
    return points;
}

float distance(const Point& a, const Point& b) { return std::hypot(b.x - a.x, b.y - a.y); }

}  // namespace

std::optional<PathGeometry> textPathGeometry(const Document& document, const Element& textPath) {
    const Element* path = document.referencedBy(textPath);
    const Attribute* data = path != nullptr && path->name == Name::Path ? path->attribute(Name::D) : nullptr;
    if (data == nullptr) return std::nullopt;
    PathGeometry geometry;
    readPathData(data->text(), geometry);
    if (geometry.segments.empty()) return std::nullopt;
    return geometry;
}

Point pointAlong(const PathGeometry& geometry, std::string_view startOffset, const LengthContext& context) {
    const std::vector<Point> points = firstFigurePoints(geometry);
    if (points.empty()) return Point(0, 0);
    float total = 0;
    for (std::size_t i = 1; i < points.size(); ++i) total += distance(points[i - 1], points[i]);
    float offset = 0;
    if (std::optional<Length> length = readLength(startOffset)) {
        offset = length->unit == Unit::Percent ? length->value / 100 * total
                                               : userUnits(*length, Axis::Horizontal, context);
    }
    offset = std::clamp(offset, 0.0f, total);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const float step = distance(points[i - 1], points[i]);
        if (step > 0 && offset <= step) {
            const float t = offset / step;
            return Point(points[i - 1].x + t * (points[i].x - points[i - 1].x),
                         points[i - 1].y + t * (points[i].y - points[i - 1].y));
        }
        offset -= step;
    }
    return points.back();
}

}  // namespace Pictavo
