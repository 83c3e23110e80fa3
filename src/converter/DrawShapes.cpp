#include <algorithm>
#include <memory>

#include "converter/Drawing.h"
#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

using Orvane::Path;

namespace {

const char* text(const Element& element, Name name) { return element.attribute(name)->value; }

using ShapeConverter = Path* (*)(SVG&, const Element&, Matrix&);

Path* circle(SVG& svg, const Element& e, Matrix& ctm) {
    return svg.convertCircle(attributeNumber(e, Name::Cx), attributeNumber(e, Name::Cy), attributeNumber(e, Name::R), ctm);
}

Path* ellipse(SVG& svg, const Element& e, Matrix& ctm) {
    return svg.convertEllipse(attributeNumber(e, Name::Cx), attributeNumber(e, Name::Cy), attributeNumber(e, Name::Rx),
                              attributeNumber(e, Name::Ry), ctm);
}

// A radius that is not positive takes the other one; each is limited to half
// the side it rounds. Without any positive radius the corners stay square.
Path* rectangle(SVG& svg, const Element& e, Matrix& ctm) {
    const float x = attributeNumber(e, Name::X);
    const float y = attributeNumber(e, Name::Y);
    const float width = attributeNumber(e, Name::Width);
    const float height = attributeNumber(e, Name::Height);
    float rx = attributeNumber(e, Name::Rx, -1);
    float ry = attributeNumber(e, Name::Ry, -1);
    if (!(rx > 0 || ry > 0)) return svg.convertRectangle(x, y, width, height, ctm);
    if (rx < 0) rx = ry;
    if (ry < 0) ry = rx;
    rx = std::min(rx, width / 2);
    ry = std::min(ry, height / 2);
    return svg.convertRoundedRectangle(x, y, width, height, rx, ry, ctm);
}

Path* pathData(SVG& svg, const Element& e, Matrix& ctm) { return svg.convertPath(text(e, Name::D), ctm); }

Path* polygon(SVG& svg, const Element& e, Matrix& ctm) {
    return svg.convertPolygon(text(e, Name::Points), true, ctm);
}

Path* polyline(SVG& svg, const Element& e, Matrix& ctm) {
    return svg.convertPolygon(text(e, Name::Points), false, ctm);
}

Path* line(SVG& svg, const Element& e, Matrix& ctm) {
    return svg.convertLine(attributeNumber(e, Name::X1), attributeNumber(e, Name::Y1), attributeNumber(e, Name::X2),
                           attributeNumber(e, Name::Y2), ctm);
}

struct ShapeElement {
    Name name;
    Name required[2];  // Name::Count requires nothing
    ShapeConverter convert;
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

// A shape's children are drawn after it, as the converter always drew them.
void Drawing::drawShape(const Frame& frame) {
    const Element& element = *frame.element;
    for (const ShapeElement& shape : shapeElements) {
        if (shape.name != element.name) continue;
        if (!frame.style.visible || !hasRequiredAttributes(shape, element)) break;
        Matrix ctm = frame.ctm;
        std::unique_ptr<Path> path(shape.convert(svg, element, ctm));
        paint(*path, frame.style, frame.opacity, sizeScale(ctm));
        svg.slide.add(std::move(path));
        break;
    }
    drawChildren(frame);
}

}  // namespace Pictavo
