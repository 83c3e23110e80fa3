#include "presentation/Path.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "presentation/Format.h"

namespace Orvane {

namespace {

// The path data of every shape is written in a box from 0 to 100 on both axes.
const float boxSide = 100;
// The scale of an axis on which the path has no extent. Any nonzero value
// keeps the transformation invertible; with this one the mapping of a point
// on such an axis is (p - min) * 100, which the transformation scales back,
// so the ends land on 0 and control points keep their place on the slide.
const float flatAxisScale = 0.01f;

// Room enough, as a rule, for one segment's path data (a curve's six
// numbers) and for what an element holds beside its path data, so that the
// geometry's text is not grown step by step.
const std::size_t segmentTextCapacity = 72;
const std::size_t elementTextCapacity = 320;

// Where the path data is written: a point's slide coordinates less `origin`,
// divided by `scale`.
struct Box {
    float origin[2];
    float scale[2];
};

Box boxOf(const float bounds[2][2]) {
    Box box{};
    for (int axis = 0; axis < 2; ++axis) {
        const float size = bounds[axis][1] - bounds[axis][0];
        box.origin[axis] = bounds[axis][0];
        box.scale[axis] = size / boxSide;
        if (box.scale[axis] == 0) box.scale[axis] = flatAxisScale;
    }
    return box;
}

Point inBox(const Point& p, const Box& box) {
    return Point((p.x - box.origin[0]) / box.scale[0], (p.y - box.origin[1]) / box.scale[1]);
}

std::size_t geometryCapacity(const Path& path) {
    std::size_t segments = path.segments.size();
    for (const auto& subpath : path.subpaths) segments += subpath->segments.size();
    return elementTextCapacity + segments * segmentTextCapacity;
}

bool isFinite(const Point& p) { return Format::writable({p.x, p.y}); }

bool isFinite(const Path::Color& paint) {
    for (const float* colour : paint.color) {
        if (!Format::writable({colour[0], colour[1], colour[2], colour[3]})) return false;
    }
    return Format::writable({paint.angle});
}

void appendColor(std::string& text, const float* colour) {
    Format::numbers(text, {colour[0], colour[1], colour[2], colour[3]});
}

void appendFillStyle(std::string& text, const Path::Fill* fill) {
    if (fill == nullptr) {
        text.append("<fill-style fill-type=\"none\" />\n");
        return;
    }
    const Path::Color& paint = fill->color;
    if (paint.gradient) {
        text.append("<fill-style fill-type=\"gradient\"><gradient start-color=\"");
        appendColor(text, paint.color[0]);
        text.append("\" end-color=\"");
        appendColor(text, paint.color[1]);
        text.append("\" gradient-angle=\"");
        Format::number(text, paint.angle);
        text.append("\" /></fill-style>\n");
        return;
    }
    text.append("<fill-style fill-type=\"color\" fill-color=\"");
    appendColor(text, paint.color[0]);
    text.append("\" />\n");
}

void appendStrokeAttributes(std::string& text, const Path::Stroke* stroke) {
    if (stroke == nullptr) {
        text.append(" stroke-color=\"0 0 0 1\" stroke-width=\"1\"");
        return;
    }
    text.append(" stroke-color=\"");
    appendColor(text, stroke->color.color[0]);
    text.append("\" stroke-width=\"");
    Format::number(text, stroke->width);
    text.push_back('"');
}

void appendDashStyle(std::string& text, const Path::Stroke* stroke) {
    if (stroke == nullptr) {
        text.append("<dash-style pattern=\"none\" />\n");
    } else if (stroke->solid) {
        text.append("<dash-style pattern=\"solid\" />\n");
    } else {
        text.append("<dash-style pattern=\"");
        Format::attribute(text, stroke->pattern);
        text.append("\" />\n");
    }
}

template <typename T>
const T* elementOrNull(const std::vector<T>& items, std::size_t i) {
    return i < items.size() ? &items[i] : nullptr;
}

bool hasFinitePaint(const Path& path) {
    for (const Path::Stroke& stroke : path.strokes) {
        if (!isFinite(stroke.color) || !Format::writable({stroke.width})) return false;
    }
    for (const Path::Fill& fill : path.fills) {
        if (!isFinite(fill.color)) return false;
    }
    return true;
}

bool hasOpenFigure(const Path& path) {
    if (!path.segments.empty() && !path.closed) return true;
    return std::any_of(path.subpaths.begin(), path.subpaths.end(),
                       [](const auto& subpath) { return !subpath->segments.empty() && !subpath->closed; });
}

// Appends one figure's path data, in the box, closed when it is or when
// `close` says so. False when a number would not be finite, and the path
// cannot be written.
bool appendFigure(std::string& text, const Path& figure, const Box& box, bool close) {
    if (figure.segments.empty()) return true;
    const Point first = inBox(figure.segments.front().start, box);
    text.append("M ");
    Format::numbers(text, {first.x, first.y});
    for (const PathSegment& segment : figure.segments) {
        const Point start = inBox(segment.start, box), end = inBox(segment.end, box);
        if (!isFinite(start) || !isFinite(end)) return false;
        if (segment.straight) {
            // Control points of straight segments are never written, so they
            // do not count.
            text.append(" L ");
            Format::numbers(text, {end.x, end.y});
        } else {
            const Point control1 = inBox(segment.control1, box), control2 = inBox(segment.control2, box);
            if (!isFinite(control1) || !isFinite(control2)) return false;
            text.append(" C ");
            Format::numbers(text, {control1.x, control1.y, control2.x, control2.y, end.x, end.y});
        }
    }
    if (figure.closed || close) text.append(" Z");
    return true;
}

// Appends the path data of the path and its subpaths, every figure closed
// with `closeAll`. False when a number would not be finite.
bool appendPathData(std::string& text, const Path& path, const Box& box, bool closeAll) {
    if (!appendFigure(text, path, box, closeAll)) return false;
    // Figures without segments write nothing, and no separator either.
    bool written = !path.segments.empty();
    for (const auto& subpath : path.subpaths) {
        if (subpath->segments.empty()) continue;
        if (written) text.push_back(' ');
        if (!appendFigure(text, *subpath, box, closeAll)) return false;
        written = true;
    }
    return true;
}

// Appends what every element of the path shares: its geometry and the
// transformation that maps the box onto the slide. False when the path
// cannot be written.
bool appendGeometry(std::string& text, const Path& path, const Box& box, bool closeAll) {
    if (!Format::writable({box.scale[0], box.scale[1], box.origin[0], box.origin[1]})) return false;
    if (path.isLine) {
        // A line is written from its first segment, but every figure must
        // still map to finite numbers, as for a shape.
        std::string unwritten;
        if (!appendPathData(unwritten, path, box, false)) return false;
        const Point head = inBox(path.segments.front().start, box);
        const Point tail = inBox(path.segments.front().end, box);
        text.append("line head=\"");
        Format::numbers(text, {head.x, head.y});
        text.append("\" tail=\"");
        Format::numbers(text, {tail.x, tail.y});
    } else {
        text.append("shape path=\"");
        if (!appendPathData(text, path, box, closeAll)) return false;
    }
    text.append("\" transformation=\"");
    Format::numbers(text, {box.scale[0], 0, 0, box.scale[1], box.origin[0], box.origin[1]});
    text.push_back('"');
    return true;
}

// One element: the shared geometry painted with one stroke and one fill,
// either of which may be absent.
void appendElement(std::string& text, std::string_view geometry, bool isLine,
                   const Path::Stroke* stroke, const Path::Fill* fill) {
    text.push_back('<');
    text.append(geometry);
    appendStrokeAttributes(text, stroke);
    text.append(">\n<styles>\n");
    appendFillStyle(text, fill);
    appendDashStyle(text, stroke);
    text.append(isLine ? "</styles></line>\n" : "</styles></shape>\n");
}

}  // namespace

void Path::Stroke::setPattern(std::string_view text) {
    // XML cannot carry a NUL character: the pattern ends at the first one.
    text = text.substr(0, text.find('\0'));
    std::size_t length = std::min(text.size(), patternLimit);
    // Cutting must not split a UTF-8 sequence: back up over continuation
    // bytes of a sequence that the cut would leave incomplete.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    pattern.assign(text.data(), length);
}

void Path::addSegment(const PathSegment& segment) {
    segments.push_back(segment);
    if (!bounded) {
        bounds[0][0] = bounds[0][1] = segment.start.x;
        bounds[1][0] = bounds[1][1] = segment.start.y;
        bounded = true;
    }
    for (const Point* p : {&segment.start, &segment.end}) {
        if (bounds[0][0] > p->x) bounds[0][0] = p->x;
        if (bounds[1][0] > p->y) bounds[1][0] = p->y;
        if (p->x > bounds[0][1]) bounds[0][1] = p->x;
        if (p->y > bounds[1][1]) bounds[1][1] = p->y;
    }
}

void Path::addSubpath(std::unique_ptr<Path> subpath) {
    if (subpath == nullptr) return;
    if (subpath->bounded) {
        if (!bounded) {
            std::memcpy(bounds, subpath->bounds, sizeof bounds);
            bounded = true;
        } else {
            for (int axis = 0; axis < 2; ++axis) {
                bounds[axis][0] = std::min(bounds[axis][0], subpath->bounds[axis][0]);
                bounds[axis][1] = std::max(bounds[axis][1], subpath->bounds[axis][1]);
            }
        }
    }
    subpaths.push_back(std::move(subpath));
}

void Path::write(std::string& document, int) const {
    // A path without any segment has no box to draw its paint in.
    if (!bounded || (isLine && segments.empty())) return;
    const std::size_t count = std::max(strokes.size(), fills.size());
    if (count == 0 || !hasFinitePaint(*this)) return;
    const Box box = boxOf(bounds);
    std::string drawn;
    drawn.reserve(geometryCapacity(*this));
    if (!appendGeometry(drawn, *this, box, false)) return;
    // A fill closes every figure, as SVG fills it, where the format would
    // leave an open figure unfilled. A stroke keeps the figures as drawn, so
    // a path that has both goes out as a fill and a stroke of its own.
    const bool closing = !isLine && !fills.empty() && hasOpenFigure(*this);
    std::string filled;
    if (closing) {
        filled.reserve(drawn.size() + elementTextCapacity);
        appendGeometry(filled, *this, box, true);
    }
    for (std::size_t i = count; i-- > 0;) {
        const Stroke* stroke = elementOrNull(strokes, i);
        const Fill* fill = elementOrNull(fills, i);
        if (fill == nullptr || !closing) {
            appendElement(document, drawn, isLine, stroke, fill);
            continue;
        }
        appendElement(document, filled, isLine, nullptr, fill);
        if (stroke != nullptr) appendElement(document, drawn, isLine, stroke, nullptr);
    }
}

}  // namespace Orvane
