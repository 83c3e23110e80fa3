#include "converter/Markers.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "converter/Transforms.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

using Orvane::PathSegment;
using Orvane::Point;

namespace {

struct Direction {
    float dx, dy;
    bool isZero() const { return dx == 0 && dy == 0; }
};

Direction between(const Point& from, const Point& to) { return {to.x - from.x, to.y - from.y}; }

// A curve's tangent at an end is towards its nearest control point that
// differs from that end, else along its chord.
Direction startDirection(const PathSegment& segment) {
    if (segment.straight) return between(segment.start, segment.end);
    for (const Point& towards : {segment.control1, segment.control2, segment.end}) {
        const Direction direction = between(segment.start, towards);
        if (!direction.isZero()) return direction;
    }
    return {0, 0};
}

Direction endDirection(const PathSegment& segment) {
    if (segment.straight) return between(segment.start, segment.end);
    for (const Point& from : {segment.control2, segment.control1, segment.start}) {
        const Direction direction = between(from, segment.end);
        if (!direction.isZero()) return direction;
    }
    return {0, 0};
}

float degrees(const Direction& direction) {
    return float(std::atan2(double(direction.dy), double(direction.dx)) * 180 / M_PI);
}

// One figure's segments, a closed figure's closing segment appended.
class Figure {
public:
    Figure(const PathGeometry& geometry, std::size_t begin, const FigureEnd& end)
        : segments(geometry.segments.begin() + begin, geometry.segments.begin() + end.end),
          closed(end.closed) {
        if (closed) segments.emplace_back(segments.back().end, segments.front().start, true);
    }

    std::size_t size() const { return segments.size(); }
    const Point& vertex(std::size_t index) const {
        return index == 0 ? segments.front().start : segments[index - 1].end;
    }

    // The direction into vertex `index` (0..size()), from the nearest segment
    // behind it that has one; a closed figure looks round past its start.
    std::optional<Direction> incoming(std::size_t index) const {
        const std::size_t steps = closed ? size() : index;
        for (std::size_t step = 1; step <= steps; ++step) {
            const Direction direction = endDirection(segments[(index + size() - step) % size()]);
            if (!direction.isZero()) return direction;
        }
        return std::nullopt;
    }

    // The direction out of vertex `index`, from the nearest segment ahead.
    std::optional<Direction> outgoing(std::size_t index) const {
        const std::size_t steps = closed ? size() : size() - index;
        for (std::size_t step = 0; step < steps; ++step) {
            const Direction direction = startDirection(segments[(index + step) % size()]);
            if (!direction.isZero()) return direction;
        }
        return std::nullopt;
    }

    float direction(std::size_t index) const {
        const std::optional<Direction> in = incoming(index);
        const std::optional<Direction> out = outgoing(index);
        if (!in) return out ? degrees(*out) : 0;
        if (!out) return degrees(*in);
        // Half the turn from in to out, the turn taken the short way round.
        const float from = degrees(*in);
        float turn = degrees(*out) - from;
        if (turn > 180) turn -= 360;
        if (turn <= -180) turn += 360;
        return from + turn / 2;
    }

private:
    std::vector<PathSegment> segments;
    bool closed;
};

}  // namespace

std::vector<MarkerVertex> markerVertices(const PathGeometry& geometry) {
    std::vector<MarkerVertex> vertices;
    std::size_t begin = 0;
    for (const FigureEnd& end : geometry.figures) {
        if (end.end > begin) {
            const Figure figure(geometry, begin, end);
            for (std::size_t index = 0; index <= figure.size(); ++index)
                vertices.push_back({figure.vertex(index), figure.direction(index)});
        }
        begin = end.end;
    }
    return vertices;
}

float markerAngle(const MarkerOrient& orient, const MarkerVertex& vertex, bool isStart) {
    switch (orient.type) {
        case MarkerOrient::Auto:
            return vertex.direction;
        case MarkerOrient::AutoStartReverse:
            return isStart ? vertex.direction + 180 : vertex.direction;
        case MarkerOrient::Angle:
            break;
    }
    return orient.degrees;
}

std::optional<MarkerOrient> readOrient(std::string_view text) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    MarkerOrient orient;
    Length angle;
    if (scanner.keyword("auto")) {
        orient.type = MarkerOrient::Auto;
    } else if (scanner.keyword("auto-start-reverse")) {
        orient.type = MarkerOrient::AutoStartReverse;
    } else if (scanner.length(angle) && (angle.unit == Unit::None || isAngle(angle.unit))) {
        orient.degrees = static_cast<float>(angleInDegrees(angle));
    } else {
        return std::nullopt;
    }
    scanner.skipSpace();
    if (!scanner.atEnd()) return std::nullopt;
    return orient;
}

Matrix markerTransform(const Point& at, float angle, const MarkerFrame& frame) {
    const double radians = double(angle) * M_PI / 180;
    const float cosine = float(std::cos(radians));
    const float sine = float(std::sin(radians));
    const float s = frame.scale;
    // The reference point is given in the content's coordinates; where the
    // viewBox puts it in the viewport is what moves onto the vertex.
    const Point reference = frame.contentToViewport * frame.reference;
    Matrix transform(cosine * s, -sine * s, at.x, sine * s, cosine * s, at.y, 0, 0, 1);
    transform.multiplyFromRight(Matrix(1, 0, -reference.x, 0, 1, -reference.y, 0, 0, 1));
    transform.multiplyFromRight(frame.contentToViewport);
    return transform;
}

namespace {

// Marker attributes are few and read once per marked shape: they are looked
// up by name rather than given numbers of their own.
std::string_view attributeText(const Element& element, std::string_view lowerName) {
    const std::optional<Name> name = element.document->findName(lowerName);
    const Attribute* attribute = name ? element.attribute(*name) : nullptr;
    return attribute == nullptr ? std::string_view() : attribute->text();
}

// The attribute's value as a length in user units, or `fallback` when it is
// absent or no length.
float lengthAttribute(const Element& element, std::string_view lowerName, Axis axis,
                      const LengthContext& context, float fallback) {
    const std::optional<Length> length = readLength(attributeText(element, lowerName));
    return length ? userUnits(*length, axis, context) : fallback;
}

}  // namespace

MarkerPlacement readMarkerPlacement(const Element& marker, float strokeWidth,
                                    const LengthContext& context) {
    MarkerPlacement placement;
    if (const std::optional<MarkerOrient> orient = readOrient(attributeText(marker, "orient")))
        placement.orient = *orient;
    const float width = lengthAttribute(marker, "markerwidth", Axis::Horizontal, context, 3);
    const float height = lengthAttribute(marker, "markerheight", Axis::Vertical, context, 3);
    placement.drawn = width > 0 && height > 0;
    placement.contentWidth = width;
    placement.contentHeight = height;
    const Attribute* viewBoxText = marker.attribute(Name::ViewBox);
    const std::optional<ViewBox> box =
        viewBoxText != nullptr ? readViewBox(viewBoxText->text()) : std::nullopt;
    if (box) {
        const Attribute* ratio = marker.attribute(Name::PreserveAspectRatio);
        placement.frame.contentToViewport = viewBoxTransform(
            *box, readAspectRatio(ratio != nullptr ? ratio->text() : std::string_view()), 0, 0,
            width, height);
        placement.contentWidth = box->width;
        placement.contentHeight = box->height;
    }
    // The reference point is in the content's coordinates: no viewBox, no
    // per cent of it.
    placement.frame.reference =
        Point(lengthAttribute(marker, "refx", Axis::Horizontal, context, 0),
              lengthAttribute(marker, "refy", Axis::Vertical, context, 0));
    ValueScanner units(attributeText(marker, "markerunits"));
    units.skipSpace();
    const bool userSpace = units.keyword("userspaceonuse");
    placement.frame.scale = userSpace ? 1 : strokeWidth;
    return placement;
}

}  // namespace Pictavo
