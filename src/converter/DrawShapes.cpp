#include <algorithm>
#include <memory>

#include "converter/Drawing.h"
#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

namespace {

std::string_view text(const Frame& frame, Name name) {
    return frame.element->attribute(name)->text();
}

using Outline = void (*)(const Frame&, PathGeometry&);

void circle(const Frame& f, PathGeometry& out) {
    const float r = attributeLength(f, Name::R, Axis::Diagonal);
    ellipseOutline(attributeLength(f, Name::Cx, Axis::Horizontal),
                   attributeLength(f, Name::Cy, Axis::Vertical), r, r, out);
}

void ellipse(const Frame& f, PathGeometry& out) {
    ellipseOutline(attributeLength(f, Name::Cx, Axis::Horizontal),
                   attributeLength(f, Name::Cy, Axis::Vertical),
                   attributeLength(f, Name::Rx, Axis::Horizontal),
                   attributeLength(f, Name::Ry, Axis::Vertical), out);
}

// A radius left out (or not a length) is -1: it takes the other one.
void rectangle(const Frame& f, PathGeometry& out) {
    rectangleOutline(attributeLength(f, Name::X, Axis::Horizontal),
                     attributeLength(f, Name::Y, Axis::Vertical),
                     attributeLength(f, Name::Width, Axis::Horizontal),
                     attributeLength(f, Name::Height, Axis::Vertical),
                     attributeLength(f, Name::Rx, Axis::Horizontal, -1),
                     attributeLength(f, Name::Ry, Axis::Vertical, -1), out);
}

void pathData(const Frame& f, PathGeometry& out) { readPathData(text(f, Name::D), out); }

void polygon(const Frame& f, PathGeometry& out) { readPoints(text(f, Name::Points), true, out); }

void polyline(const Frame& f, PathGeometry& out) { readPoints(text(f, Name::Points), false, out); }

void line(const Frame& f, PathGeometry& out) {
    lineOutline(attributeLength(f, Name::X1, Axis::Horizontal),
                attributeLength(f, Name::Y1, Axis::Vertical),
                attributeLength(f, Name::X2, Axis::Horizontal),
                attributeLength(f, Name::Y2, Axis::Vertical), out);
}

struct ShapeElement {
    Name name;
    Name required[2];  // Name::Count requires nothing
    Outline outline;
};

const ShapeElement shapeElements[] = {
    {Name::Circle, {Name::R, Name::Count}, circle},
    {Name::Ellipse, {Name::Rx, Name::Ry}, ellipse},
    {Name::Rect, {Name::Width, Name::Height}, rectangle},
    {Name::Path, {Name::D, Name::Count}, pathData},
    {Name::Polygon, {Name::Points, Name::Count}, polygon},
    {Name::Polyline, {Name::Points, Name::Count}, polyline},
    {Name::Line, {Name::X2, Name::Y2}, line},
};

bool hasRequiredAttributes(const ShapeElement& shape, const Element& element) {
    return std::all_of(std::begin(shape.required), std::end(shape.required), [&](Name name) {
        return name == Name::Count || element.attribute(name) != nullptr;
    });
}

}  // namespace

// A shape's children are drawn after it, so that nothing nested in a shape is lost.
void Drawing::drawShape(const Frame& frame) {
    for (const ShapeElement& shape : shapeElements) {
        if (shape.name != frame.element->name) continue;
        if (!frame.style.visible || !hasRequiredAttributes(shape, *frame.element)) break;
        shape.outline(frame, geometry);
        std::unique_ptr<Orvane::Path> path = mappedPath(geometry, frame.ctm);
        paint(*path, frame, sizeScale(frame.ctm));
        svg.slide.add(std::move(path));
        drawMarkers(frame);
        break;
    }
    drawChildren(frame);
}

}  // namespace Pictavo
