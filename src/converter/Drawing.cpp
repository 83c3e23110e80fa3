#include "converter/Drawing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <string>

#include "converter/ElementValues.h"
#include "converter/Report.h"
#include "converter/Svg.h"
#include "converter/Transforms.h"

namespace Pictavo {

inline constexpr Report::Kind filterKind{"filter", "filters"};
inline constexpr Report::Kind clipPathKind{"clip path", "clip paths"};
inline constexpr Report::Kind maskKind{"mask", "masks"};
inline constexpr Report::Kind foreignObjectKind{"foreign object", "foreign objects"};

namespace {

// Nesting deeper than this, through `use` included, draws nothing more: the
// parser bounds the document's own depth, this bounds chains of references,
// and with them the stack.
const std::size_t maximumDepth = 1024;

// Elements drawn through `use` may be this many, or this many times the
// document's own elements, whichever is more.
const std::size_t useBoundFloor = 2000000;
const std::size_t useBoundFactor = 4;

// Containers of content drawn only by reference (from `use`, a paint, a
// clip...): they are never drawn where they stand.
bool isNeverDrawn(Name name) {
    switch (name) {
        case Name::Defs: case Name::ClipPath: case Name::Mask: case Name::Symbol:
        case Name::Marker: case Name::Pattern: case Name::LinearGradient:
        case Name::RadialGradient: case Name::Style: case Name::Filter: case Name::Stop:
        case Name::CharacterData:
            return true;
        default:
            return false;
    }
}

bool isShape(Name name) {
    switch (name) {
        case Name::Circle: case Name::Ellipse: case Name::Line: case Name::Path:
        case Name::Polygon: case Name::Polyline: case Name::Rect:
            return true;
        default:
            return false;
    }
}

std::string_view textOf(const Attribute* attribute) {
    return attribute != nullptr ? attribute->text() : std::string_view();
}

// Whether one of the comma-separated languages is English, the language the
// conversion assumes, alone or with a region ("en", "en-US").
bool includesEnglish(std::string_view languages) {
    while (!languages.empty()) {
        const std::size_t comma = std::min(languages.find(','), languages.size());
        std::string_view language = languages.substr(0, comma);
        languages.remove_prefix(std::min(comma + 1, languages.size()));
        while (!language.empty() && isSpaceCharacter(language.front())) language.remove_prefix(1);
        while (!language.empty() && isSpaceCharacter(language.back())) language.remove_suffix(1);
        if (equalsLowered(language, "en") || equalsLowered(language.substr(0, 3), "en-")) return true;
    }
    return false;
}

// The conditional processing attributes: no extension is supported, every
// feature string holds, and the user's language is English.
bool conditionsHold(const Element& element) {
    if (element.attribute(Name::RequiredExtensions) != nullptr) return false;
    const Attribute* languages = element.attribute(Name::SystemLanguage);
    return languages == nullptr || includesEnglish(languages->text());
}

// The elements a `switch` chooses among: those that draw something.
bool isSwitchChoice(Name name) {
    return isShape(name) || name == Name::G || name == Name::Svg || name == Name::Switch ||
           name == Name::Use || name == Name::Text || name == Name::Image ||
           name == Name::ForeignObject || name == Name::A;
}

// The transform origin in user units: up to two keywords or lengths. left
// and right give x, top and bottom y, a length or center the side not yet
// given, x first; a side left out is the centre. Per cent of the viewport.
void readOrigin(std::string_view text, const LengthContext& context, float& x, float& y) {
    Length sides[2] = {Length{50, Unit::Percent}, Length{50, Unit::Percent}};  // x, y
    bool given[2] = {false, false};
    ValueScanner scanner(text);
    for (int item = 0; item < 2; ++item) {
        scanner.skipSpace();
        int side = given[0] ? 1 : 0;
        Length length{0, Unit::Percent};
        if (scanner.keyword("left")) {
            side = 0;
        } else if (scanner.keyword("right")) {
            side = 0, length.value = 100;
        } else if (scanner.keyword("top")) {
            side = 1;
        } else if (scanner.keyword("bottom")) {
            side = 1, length.value = 100;
        } else if (scanner.keyword("center")) {
            length.value = 50;
        } else if (!scanner.length(length) || isAngle(length.unit)) {
            break;
        }
        if (given[side]) side = 1 - side;  // "top left"
        sides[side] = length;
        given[side] = true;
    }
    if (!given[0] && !given[1]) sides[0] = sides[1] = Length();
    x = userUnits(sides[0], Axis::Horizontal, context);
    y = userUnits(sides[1], Axis::Vertical, context);
}

// A root size in user units, when the attribute gives a positive length
// that is not per cent and that a slide side can hold.
std::optional<float> rootSide(const Attribute* attribute, Axis axis) {
    if (attribute == nullptr) return std::nullopt;
    const std::optional<Length> length = readLength(attribute->text());
    if (!length || length->unit == Unit::Percent) return std::nullopt;
    const float side = userUnits(*length, axis, LengthContext());
    if (!(side > 0) || side > INT_MAX) return std::nullopt;
    return side;
}

// A slide side: rounded, at least 1, at most what an int holds.
int slideSide(float side) {
    const double rounded = std::round(static_cast<double>(side));
    if (!(rounded >= 1)) return 1;
    return rounded >= INT_MAX ? INT_MAX : static_cast<int>(rounded);
}

Matrix translation(float x, float y) { return Matrix(1, 0, x, 0, 1, y, 0, 0, 1); }

}  // namespace

LengthContext lengthContext(const Frame& frame) {
    return LengthContext{frame.style.fontSize, frame.viewport.width, frame.viewport.height};
}

float attributeLength(const Frame& frame, Name name, Axis axis, float fallback) {
    const Attribute* attribute = frame.element->attribute(name);
    const std::optional<Length> length =
        attribute != nullptr ? readLength(attribute->text()) : std::nullopt;
    return length ? userUnits(*length, axis, lengthContext(frame)) : fallback;
}

Drawing::Drawing(SVG& svg, const Document& document)
    : svg(svg),
      document(document),
      cascade(document),
      useBound(std::max(useBoundFloor, useBoundFactor * document.elementCount())),
      servers(document, svg.report, [this](const Element& stop) { return stopColor(stop); }) {}

// The root svg sizes the slide whatever else it says; any other root is
// drawn on an 800 by 600 slide.
void Drawing::run() {
    const Frame initial;
    const Element* root = document.root();
    if (root == nullptr || root->name != Name::Svg) {
        svg.slide.setSize(800, 600);
        if (root != nullptr) drawElement(*root, initial);
        return;
    }
    Frame frame;
    frame.parent = &initial;
    frame.element = root;
    frame.depth = 1;
    cascade.compute(*root, initial.style, frame.style, frame.kept);
    drawRoot(frame);
}

void Drawing::drawElement(const Element& element, const Frame& parent, const Element* use) {
    if (element.name == Name::CharacterData || parent.depth >= maximumDepth ||
        !conditionsHold(element))
        return;
    Frame frame;
    frame.parent = &parent;
    frame.element = &element;
    frame.throughUse = parent.throughUse || use != nullptr;
    frame.depth = parent.depth + 1;
    if (frame.throughUse && ++drawnThroughUse > useBound) throw UseBoundExceeded();
    cascade.compute(element, parent.style, frame.style, frame.kept);
    if (!frame.style.displayed) return;
    const bool referenced = use != nullptr && (element.name == Name::Symbol);
    if (isNeverDrawn(element.name) && !referenced) return;
    frame.viewport = parent.viewport;
    frame.ctm = parent.ctm;
    applyTransform(frame);
    frame.opacity = parent.opacity * frame.style.opacity;
    countDropped(frame);
    switch (element.name) {
        case Name::Svg: case Name::Symbol: drawViewport(frame, use); break;
        case Name::Switch: drawSwitch(frame); break;
        case Name::Use: drawUse(frame); break;
        case Name::Text: drawText(frame); break;
        case Name::Image: drawImage(frame); break;
        case Name::ForeignObject: drawForeignObject(frame); break;
        default:
            if (isShape(element.name))
                drawShape(frame);
            else
                drawChildren(frame);  // groups, links and elements of unknown kinds
    }
}

void Drawing::drawChildren(const Frame& frame) {
    for (const Element* child = frame.element->firstChild; child != nullptr; child = child->nextSibling)
        drawElement(*child, frame);
}

// What the slide cannot show is counted once for each element that asks for it.
void Drawing::countDropped(const Frame& frame) {
    if (!frame.style.filter.empty()) svg.report.notCarried(filterKind);
    if (!frame.style.clipPath.empty()) svg.report.notCarried(clipPathKind);
    if (!frame.style.mask.empty()) svg.report.notCarried(maskKind);
}

// The element's transform, about its transform origin, multiplied into its
// matrix.
void Drawing::applyTransform(Frame& frame) {
    if (frame.style.transform.empty()) return;
    const LengthContext context = lengthContext(frame);
    float x = 0, y = 0;
    if (!frame.style.transformOrigin.empty()) readOrigin(frame.style.transformOrigin, context, x, y);
    frame.ctm.multiplyFromRight(translation(x, y));
    readTransform(frame.style.transform, frame.ctm, context);
    frame.ctm.multiplyFromRight(translation(-x, -y));
}

// The root sizes the slide before anything is drawn on it: its width and
// height in user units, rounded; a side in per cent or left out takes the
// viewBox's (keeping its aspect ratio when the other side is given), else
// 800 by 600. Its viewBox is mapped onto the slide as preserveAspectRatio
// asks.
void Drawing::drawRoot(Frame& frame) {
    const Element& root = *frame.element;
    const std::optional<float> width = rootSide(root.attribute(Name::Width), Axis::Horizontal);
    const std::optional<float> height = rootSide(root.attribute(Name::Height), Axis::Vertical);
    const std::optional<ViewBox> box = readViewBox(textOf(root.attribute(Name::ViewBox)));
    float slideWidth = width.value_or(800);
    float slideHeight = height.value_or(600);
    if (box && !width) slideWidth = height ? *height * box->width / box->height : box->width;
    if (box && !height) slideHeight = width ? *width * box->height / box->width : box->height;
    const int sides[2] = {slideSide(slideWidth), slideSide(slideHeight)};
    svg.slide.setSize(sides[0], sides[1]);
    if (!frame.style.displayed || !conditionsHold(root)) return;
    frame.viewport = Viewport{static_cast<float>(sides[0]), static_cast<float>(sides[1])};
    applyTransform(frame);
    if (box) {
        frame.ctm.multiplyFromRight(viewBoxTransform(
            *box, readAspectRatio(textOf(root.attribute(Name::PreserveAspectRatio))), 0, 0,
            frame.viewport.width, frame.viewport.height));
        frame.viewport = Viewport{box->width, box->height};
    }
    frame.opacity = frame.style.opacity;
    countDropped(frame);
    drawChildren(frame);
}

// A nested svg, or a symbol drawn through `use`: a new viewport at x, y of
// the given size (the use's, where it gives one; else the whole viewport
// around it), its viewBox mapped into it as preserveAspectRatio asks. A
// viewport without area shows nothing.
void Drawing::drawViewport(Frame& frame, const Element* use) {
    const Element& element = *frame.element;
    const float x = attributeLength(frame, Name::X, Axis::Horizontal);
    const float y = attributeLength(frame, Name::Y, Axis::Vertical);
    auto side = [&](Name name, Axis axis, float whole) {
        if (use != nullptr && use->attribute(name) != nullptr) {
            const std::optional<Length> given = readLength(use->attribute(name)->text());
            if (given) return userUnits(*given, axis, lengthContext(frame));
        }
        return attributeLength(frame, name, axis, whole);
    };
    const float width = side(Name::Width, Axis::Horizontal, frame.viewport.width);
    const float height = side(Name::Height, Axis::Vertical, frame.viewport.height);
    if (!(width > 0) || !(height > 0)) return;
    const std::optional<ViewBox> box = readViewBox(textOf(element.attribute(Name::ViewBox)));
    if (box) {
        frame.ctm.multiplyFromRight(viewBoxTransform(
            *box, readAspectRatio(textOf(element.attribute(Name::PreserveAspectRatio))), x, y,
            width, height));
        frame.viewport = Viewport{box->width, box->height};
    } else {
        frame.ctm.multiplyFromRight(translation(x, y));
        frame.viewport = Viewport{width, height};
    }
    drawChildren(frame);
}

// Only the first child whose conditions hold is drawn.
void Drawing::drawSwitch(const Frame& frame) {
    for (const Element* child = frame.element->firstChild; child != nullptr; child = child->nextSibling) {
        if (!isSwitchChoice(child->name) || !conditionsHold(*child)) continue;
        drawElement(*child, frame);
        return;
    }
}

// The referenced element drawn as a copy below the `use`, moved by x and y.
// A reference to nothing, or to an element the use is itself drawn within,
// draws nothing.
void Drawing::drawUse(Frame& frame) {
    const Element& use = *frame.element;
    const Element* target = document.referencedBy(use);
    if (target == nullptr) return;
    for (const Frame* within = &frame; within != nullptr; within = within->parent)
        if (within->element == target) return;
    frame.ctm.multiplyFromRight(translation(attributeLength(frame, Name::X, Axis::Horizontal),
                                            attributeLength(frame, Name::Y, Axis::Vertical)));
    drawElement(*target, frame, &use);
}

void Drawing::drawForeignObject(const Frame& frame) {
    if (frame.style.visible) svg.report.notCarried(foreignObjectKind);
}

// The parser bounds the document's depth, and with it this recursion.
const ComputedStyle& Drawing::styleInPlace(const Element& element) {
    const auto known = stylesInPlace.find(&element);
    if (known != stylesInPlace.end()) return known->second;
    static const ComputedStyle initial;
    const ComputedStyle& parent = element.parent != nullptr ? styleInPlace(*element.parent) : initial;
    ComputedStyle style;
    cascade.compute(element, parent, style, keptInPlace.emplace_back());
    return stylesInPlace.emplace(&element, style).first->second;
}

}  // namespace Pictavo
