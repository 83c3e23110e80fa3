#include "presentation/Path.h"

#include <algorithm>
#include <cstring>

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
// numbers) and for what an element holds beside its path data (the
// transformation, paint and styles), so that texts are not grown step by step.
const std::size_t segmentTextCapacity = 72;
const std::size_t elementTextCapacity = 320;

std::size_t geometryCapacity(const Path& path) {
    std::size_t segments = path.segments.size();
    for (const Path* subpath : path.subpaths) segments += subpath->segments.size();
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

// Appends the path data of the path and its subpaths, in the path's box.
// False when a number would not be finite, and the path cannot be written.
bool appendPathData(std::string& text, Path& path) {
    if (!path.writePath(text, &path)) return false;
    // Figures without segments write nothing, and no separator either.
    bool written = !path.segments.empty();
    for (Path* subpath : path.subpaths) {
        if (subpath->segments.empty()) continue;
        if (written) text.push_back(' ');
        if (!subpath->writePath(text, &path)) return false;
        written = true;
    }
    return true;
}

// Appends what every element of the path shares: its geometry and its
// transformation. False when the path cannot be written.
bool appendGeometry(std::string& text, Path& path) {
    const float* t = path.transformation;
    if (!Format::writable({t[0], t[1], t[2], t[3], path.position[0], path.position[1]}))
        return false;
    if (path.isLine) {
        // A line is written from its first segment, but every figure must
        // still map to finite numbers, as for a shape.
        std::string unwritten;
        if (!appendPathData(unwritten, path)) return false;
        const PathSegment line = path.convertSegmentToLocal(path.segments.front(), &path);
        text.append("line head=\"");
        Format::numbers(text, {line.start.x, line.start.y});
        text.append("\" tail=\"");
        Format::numbers(text, {line.end.x, line.end.y});
    } else {
        text.append("shape path=\"");
        if (!appendPathData(text, path)) return false;
    }
    text.append("\" transformation=\"");
    Format::numbers(text, {t[0], t[1], t[2], t[3], path.position[0], path.position[1]});
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

Path::Path()
    : closed(false), isLine(false), localScale{0, 0}, bounds{{0, 0}, {0, 0}}, bounded(false) {}

Path::~Path() {
    for (Path* subpath : subpaths) delete subpath;
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

void Path::addSubpath(Path* subpath) {
    if (subpath == nullptr) return;
    subpaths.push_back(subpath);
    if (!subpath->bounded) return;
    if (!bounded) {
        std::memcpy(bounds, subpath->bounds, sizeof bounds);
        bounded = true;
        return;
    }
    for (int axis = 0; axis < 2; ++axis) {
        bounds[axis][0] = std::min(bounds[axis][0], subpath->bounds[axis][0]);
        bounds[axis][1] = std::max(bounds[axis][1], subpath->bounds[axis][1]);
    }
}

PathSegment Path::convertSegmentToLocal(const PathSegment& segment, const Path* frame) {
    PathSegment local(segment);
    for (Point* p : {&local.start, &local.end, &local.control1, &local.control2}) {
        p->x = (p->x - frame->bounds[0][0]) / frame->localScale[0];
        p->y = (p->y - frame->bounds[1][0]) / frame->localScale[1];
    }
    return local;
}

bool Path::writePath(std::string& text, const Path* frame) {
    if (segments.empty()) return true;
    const PathSegment first = convertSegmentToLocal(segments.front(), frame);
    text.append("M ");
    Format::numbers(text, {first.start.x, first.start.y});
    for (const PathSegment& segment : segments) {
        const PathSegment local = convertSegmentToLocal(segment, frame);
        // Control points of straight segments are never written, so they
        // do not count.
        if (!isFinite(local.start) || !isFinite(local.end)) return false;
        if (local.straight) {
            text.append(" L ");
            Format::numbers(text, {local.end.x, local.end.y});
        } else {
            if (!isFinite(local.control1) || !isFinite(local.control2)) return false;
            text.append(" C ");
            Format::numbers(text, {local.control1.x, local.control1.y, local.control2.x,
                                   local.control2.y, local.end.x, local.end.y});
        }
    }
    if (closed) text.append(" Z");
    return true;
}

void Path::exportXML(FILE* file, int) {
    // A path without any segment has no box to draw its paint in.
    if (!bounded || (isLine && segments.empty())) return;

    for (int axis = 0; axis < 2; ++axis) {
        size[axis] = bounds[axis][1] - bounds[axis][0];
        localScale[axis] = size[axis] / boxSide;
        if (localScale[axis] == 0) localScale[axis] = flatAxisScale;
    }
    transformation[0] = localScale[0];
    transformation[3] = localScale[1];
    position[0] = bounds[0][0];
    position[1] = bounds[1][0];

    const std::size_t count = std::max(strokes.size(), fills.size());
    if (count == 0 || !hasFinitePaint(*this)) return;
    std::string geometry;
    geometry.reserve(geometryCapacity(*this));
    if (!appendGeometry(geometry, *this)) return;
    // The whole path goes out in one write.
    std::string text;
    text.reserve(count * (geometry.size() + elementTextCapacity));
    for (std::size_t i = count; i-- > 0;) {
        appendElement(text, geometry, isLine, elementOrNull(strokes, i), elementOrNull(fills, i));
    }
    std::fwrite(text.data(), 1, text.size(), file);
}

}  // namespace Orvane
