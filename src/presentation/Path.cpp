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

bool isFinite(const Point& p) { return Format::writable({p.x, p.y}); }

bool isFinite(const Path::Color& paint) {
    for (const float* colour : paint.color) {
        if (!Format::writable({colour[0], colour[1], colour[2], colour[3]})) return false;
    }
    return Format::writable({paint.angle});
}

void writeColor(FILE* file, const float* colour) {
    Format::numbers(file, {colour[0], colour[1], colour[2], colour[3]});
}

void writeFillStyle(FILE* file, const Path::Fill* fill) {
    if (fill == nullptr) {
        std::fputs("<fill-style fill-type=\"none\" />\n", file);
        return;
    }
    const Path::Color& paint = fill->color;
    if (paint.gradient) {
        std::fputs("<fill-style fill-type=\"gradient\"><gradient start-color=\"", file);
        writeColor(file, paint.color[0]);
        std::fputs("\" end-color=\"", file);
        writeColor(file, paint.color[1]);
        std::fputs("\" gradient-angle=\"", file);
        Format::number(file, paint.angle);
        std::fputs("\" /></fill-style>\n", file);
        return;
    }
    std::fputs("<fill-style fill-type=\"color\" fill-color=\"", file);
    writeColor(file, paint.color[0]);
    std::fputs("\" />\n", file);
}

void writeStrokeAttributes(FILE* file, const Path::Stroke* stroke) {
    if (stroke == nullptr) {
        std::fputs(" stroke-color=\"0 0 0 1\" stroke-width=\"1\"", file);
        return;
    }
    std::fputs(" stroke-color=\"", file);
    writeColor(file, stroke->color.color[0]);
    std::fputs("\" stroke-width=\"", file);
    Format::number(file, stroke->width);
    std::fputc('"', file);
}

void writeDashStyle(FILE* file, const Path::Stroke* stroke) {
    if (stroke == nullptr) {
        std::fputs("<dash-style pattern=\"none\" />\n", file);
    } else if (stroke->solid) {
        std::fputs("<dash-style pattern=\"solid\" />\n", file);
    } else {
        std::fputs("<dash-style pattern=\"", file);
        Format::attribute(file, stroke->pattern);
        std::fputs("\" />\n", file);
    }
}

template <typename T>
const T* elementOrNull(const std::vector<T>& items, std::size_t i) {
    return i < items.size() ? &items[i] : nullptr;
}

// Whether every number the figure's path data would carry is finite once
// mapped into the frame's box. Control points of straight segments are never
// written, so they do not count.
bool mapsToFiniteNumbers(Path& figure, const Path* frame) {
    for (const PathSegment& segment : figure.segments) {
        const PathSegment local = figure.convertSegmentToLocal(segment, frame);
        if (!isFinite(local.start) || !isFinite(local.end)) return false;
        if (!local.straight && (!isFinite(local.control1) || !isFinite(local.control2))) {
            return false;
        }
    }
    return true;
}

bool isWritable(Path& path) {
    const float* t = path.transformation;
    if (!Format::writable({t[0], t[1], t[2], t[3], path.position[0], path.position[1]}))
        return false;
    if (!mapsToFiniteNumbers(path, &path)) return false;
    for (Path* subpath : path.subpaths) {
        if (!mapsToFiniteNumbers(*subpath, &path)) return false;
    }
    for (const Path::Stroke& stroke : path.strokes) {
        if (!isFinite(stroke.color) || !Format::writable({stroke.width})) return false;
    }
    for (const Path::Fill& fill : path.fills) {
        if (!isFinite(fill.color)) return false;
    }
    return true;
}

void writeGeometry(FILE* file, Path& path) {
    if (path.isLine) {
        const PathSegment line = path.convertSegmentToLocal(path.segments.front(), &path);
        std::fputs("line head=\"", file);
        Format::numbers(file, {line.start.x, line.start.y});
        std::fputs("\" tail=\"", file);
        Format::numbers(file, {line.end.x, line.end.y});
        std::fputc('"', file);
        return;
    }
    std::fputs("shape path=\"", file);
    path.writePath(file, &path);
    // Figures without segments write nothing, and no separator either.
    bool written = !path.segments.empty();
    for (Path* subpath : path.subpaths) {
        if (subpath->segments.empty()) continue;
        if (written) std::fputc(' ', file);
        subpath->writePath(file, &path);
        written = true;
    }
    std::fputc('"', file);
}

// One element: the path's geometry painted with one stroke and one fill,
// either of which may be absent.
void writeElement(FILE* file, Path& path, const Path::Stroke* stroke, const Path::Fill* fill) {
    std::fputc('<', file);
    writeGeometry(file, path);
    const float* t = path.transformation;
    std::fputs(" transformation=\"", file);
    Format::numbers(file, {t[0], t[1], t[2], t[3], path.position[0], path.position[1]});
    std::fputc('"', file);
    writeStrokeAttributes(file, stroke);
    std::fputs(">\n<styles>\n", file);
    writeFillStyle(file, fill);
    writeDashStyle(file, stroke);
    std::fputs(path.isLine ? "</styles></line>\n" : "</styles></shape>\n", file);
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

void Path::writePath(FILE* file, const Path* frame) {
    if (segments.empty()) return;
    const PathSegment first = convertSegmentToLocal(segments.front(), frame);
    std::fputs("M ", file);
    Format::numbers(file, {first.start.x, first.start.y});
    for (const PathSegment& segment : segments) {
        const PathSegment local = convertSegmentToLocal(segment, frame);
        if (local.straight) {
            std::fputs(" L ", file);
            Format::numbers(file, {local.end.x, local.end.y});
        } else {
            std::fputs(" C ", file);
            Format::numbers(file, {local.control1.x, local.control1.y, local.control2.x,
                                   local.control2.y, local.end.x, local.end.y});
        }
    }
    if (closed) std::fputs(" Z", file);
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

    if (!isWritable(*this)) return;

    const std::size_t count = std::max(strokes.size(), fills.size());
    for (std::size_t i = count; i-- > 0;) {
        writeElement(file, *this, elementOrNull(strokes, i), elementOrNull(fills, i));
    }
}

}  // namespace Orvane
