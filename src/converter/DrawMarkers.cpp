#include <cstddef>
#include <vector>

#include "converter/Drawing.h"
#include "converter/Markers.h"

namespace Pictavo {

namespace {

bool takesMarkers(Name name) {
    return name == Name::Path || name == Name::Line || name == Name::Polyline || name == Name::Polygon;
}

}  // namespace

// A marker element a shape refers to, read once for all its vertices.
struct Drawing::MarkerUse {
    const Element* element = nullptr;
    MarkerPlacement placement;
};

// Start, mid and end markers in the order of the vertices, after the shape;
// a marker of the wrong kind of element, or of none, draws nothing.
void Drawing::drawMarkers(const Frame& frame) {
    const ComputedStyle& style = frame.style;
    if (!takesMarkers(frame.element->name) ||
        (style.markerStart.empty() && style.markerMid.empty() && style.markerEnd.empty()))
        return;
    const LengthContext context = lengthContext(frame);
    const float strokeWidth = userUnits(style.strokeWidth, Axis::Diagonal, context);
    auto use = [&](std::string_view id) {
        MarkerUse marker;
        const Element* element = id.empty() ? nullptr : document.elementById(id);
        if (element == nullptr || element->name != Name::Marker) return marker;
        marker.placement = readMarkerPlacement(*element, strokeWidth, context);
        if (marker.placement.drawn) marker.element = element;
        return marker;
    };
    const MarkerUse start = use(style.markerStart);
    const MarkerUse mid = use(style.markerMid);
    const MarkerUse end = use(style.markerEnd);
    // Drawing a marker's content reuses `geometry`: the vertices are taken first.
    const std::vector<MarkerVertex> vertices = markerVertices(geometry);
    for (std::size_t index = 0; index < vertices.size(); ++index) {
        const bool first = index == 0;
        const bool last = index + 1 == vertices.size();
        if (first) drawMarker(frame, start, vertices[index], true);
        if (!first && !last) drawMarker(frame, mid, vertices[index], false);
        if (last) drawMarker(frame, end, vertices[index], false);
    }
}

// The marker's children drawn in its own coordinates, placed on the vertex;
// they inherit from the marker's place in the tree, not from the shape. Its
// content is not clipped to its viewport. A marker drawn within its own
// content draws nothing more.
void Drawing::drawMarker(const Frame& frame, const MarkerUse& marker, const MarkerVertex& vertex,
                         bool isStart) {
    if (marker.element == nullptr) return;
    for (const Frame* within = &frame; within != nullptr; within = within->parent)
        if (within->element == marker.element) return;
    const MarkerPlacement& placement = marker.placement;
    Frame content;
    content.parent = &frame;
    content.element = marker.element;
    content.style = styleInPlace(*marker.element);
    content.ctm = frame.ctm;
    content.ctm.multiplyFromRight(
        markerTransform(vertex.at, markerAngle(placement.orient, vertex, isStart), placement.frame));
    content.opacity = frame.opacity * content.style.opacity;
    content.viewport = Viewport{placement.contentWidth, placement.contentHeight};
    content.throughUse = true;  // markers multiply as references do: counted against the same bound
    content.depth = frame.depth + 1;
    drawChildren(content);
}

}  // namespace Pictavo
