#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "converter/Document.h"
#include "converter/Lengths.h"
#include "converter/Markers.h"
#include "converter/Matrix.h"
#include "converter/PaintServers.h"
#include "converter/PathGeometry.h"
#include "converter/Style.h"
#include "converter/TextMetrics.h"

namespace Orvane {
class Path;
}

namespace Pictavo {

class SVG;

// More elements were drawn through `use` than a drawing of this size can
// reasonably ask for: nested references multiply, and the drawing stops
// instead of running away.
class UseBoundExceeded : public std::runtime_error {
public:
    UseBoundExceeded() : std::runtime_error("too many elements drawn through use") {}
};

// The size of the viewport that per cent lengths refer to.
struct Viewport {
    float width = 800;
    float height = 600;
};

// An element being drawn, resolved: its computed style, the matrix from its
// user space (its own transform applied) to the slide, and what it takes
// from the elements it is drawn within.
struct Frame {
    const Frame* parent = nullptr;   // the element this one is drawn within, through `use` too
    const Element* element = nullptr;
    ComputedStyle style;
    Declarations kept;               // texts `style` points into
    Matrix ctm = Matrix::identity();
    float opacity = 1;               // its own opacity times its ancestors'
    Viewport viewport;
    bool throughUse = false;         // drawn as part of what a `use` or a marker references
    std::size_t depth = 0;
};

// The drawing pass: walks the document from the root, resolving each
// element's style from its parent's and its geometry through the matrices
// and viewports above it, and hands the drawables to the slide in document
// order. There is one drawing function per kind of element; a reference
// (`use`, `url(#id)`) is found through document.elementById.
class Drawing {
public:
    Drawing(SVG& svg, const Document& document);

    // Sizes the slide, then draws the whole document. Throws UseBoundExceeded.
    void run();

    SVG& svg;
    const Document& document;

private:
    Cascade cascade;
    std::size_t drawnThroughUse = 0;
    std::size_t useBound;
    PathGeometry geometry;  // the shape being drawn, kept for its room
    PaintServers servers;

    // Styles of elements drawn away from their place in the tree (markers,
    // gradient stops), cascaded from the root down; the texts they point
    // into are kept beside them.
    std::unordered_map<const Element*, ComputedStyle> stylesInPlace;
    std::deque<Declarations> keptInPlace;
    const ComputedStyle& styleInPlace(const Element& element);

    void drawElement(const Element& element, const Frame& parent, const Element* use = nullptr);
    void drawChildren(const Frame& frame);
    void countDropped(const Frame& frame);
    void applyTransform(Frame& frame);

    // One per kind of element.
    void drawRoot(Frame& frame);
    void drawViewport(Frame& frame, const Element* use);
    void drawSwitch(const Frame& frame);
    void drawUse(Frame& frame);
    void drawShape(const Frame& frame);
    void drawText(const Frame& frame);
    void drawImage(const Frame& frame);
    void drawForeignObject(const Frame& frame);

    // Paint. The colour a fill or stroke puts down: its own, the `color`
    // property's for currentColor, what a paint server paints (a gradient's
    // average, else the fallback); nothing for none. `paintOpacity` (the
    // fill-opacity or stroke-opacity) is multiplied into its alpha.
    std::optional<Rgba> paintColor(const Paint& paint, const ComputedStyle& style, float paintOpacity);
    Rgba stopColor(const Element& stop);
    // The fill and stroke of a shape, the stroke's width scaled by
    // `sizeScale`, every alpha multiplied by the frame's opacity.
    void paint(Orvane::Path& path, const Frame& frame, float sizeScale);

    // Markers on the vertices of the shape just drawn, whose geometry is in
    // `geometry`.
    struct MarkerUse;
    void drawMarkers(const Frame& frame);
    void drawMarker(const Frame& frame, const MarkerUse& marker, const MarkerVertex& vertex, bool isStart);

    // Text: the content of a text element and its tspan, a and textPath
    // descendants, gathered into boxes.
    struct TextRun;
    TextMetrics textMetrics;
    void gatherText(const Element& element, const ComputedStyle& style, bool preserve, TextRun& run);
    void finishTextBox(TextRun& run);
    // The colour text is set in: its fill's, or its stroke's when it has no fill.
    std::optional<Rgba> textColor(const ComputedStyle& style);
};

// What the element's relative lengths are measured against: its font size
// and its viewport.
LengthContext lengthContext(const Frame& frame);

// The element's attribute as a length in user units, per cent of the
// viewport side `axis` names; `fallback` when the attribute is absent or
// no length.
float attributeLength(const Frame& frame, Name name, Axis axis, float fallback = 0);

}  // namespace Pictavo
