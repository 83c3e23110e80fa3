#include "converter/Drawing.h"

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "converter/ElementValues.h"
#include "converter/Report.h"
#include "converter/Svg.h"

namespace Pictavo {

inline constexpr Report::Kind imageKind{"image", "images"};
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
        const std::string lower = lowered(language);
        if (lower == "en" || lower.compare(0, 3, "en-") == 0) return true;
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

// A length of a viewport: per cent of `whole`, else its number.
float viewportLength(const Attribute* attribute, float whole) {
    if (attribute == nullptr) return whole;
    const char* end = nullptr;
    const float value = static_cast<float>(numberValue(attribute->value, &end));
    return *skipSpace(end) == '%' ? value / 100 * whole : value;
}

// A slide side as a positive int, or 0 when the text gives none.
int positiveSize(const Attribute* attribute) {
    if (attribute == nullptr) return 0;
    errno = 0;
    long value = std::strtol(attribute->value, nullptr, 10);
    if (errno == ERANGE || value <= 0 || value > INT_MAX) return 0;
    return static_cast<int>(value);
}

bool endsWithPercent(const Attribute* attribute) {
    const std::string_view text = attribute->text();
    return !text.empty() && text.back() == '%';
}

// A transform list as written, applied after `ctm`.
void applyTransform(SVG& svg, std::string_view transform, Matrix& ctm) {
    if (transform.empty()) return;
    svg.convertTransform(std::string(transform).c_str(), ctm);
}

Matrix translation(float x, float y) { return Matrix(1, 0, x, 0, 1, y, 0, 0, 1); }

}  // namespace

float attributeNumber(const Element& element, Name name, float fallback) {
    const Attribute* attribute = element.attribute(name);
    return attribute == nullptr ? fallback : static_cast<float>(numberValue(attribute->value));
}

Drawing::Drawing(SVG& svg, const Document& document)
    : svg(svg),
      document(document),
      cascade(document, svg),
      useBound(std::max(useBoundFloor, useBoundFactor * document.elementCount())) {}

void Drawing::run() {
    Frame initial;
    const Element* root = document.root();
    if (root == nullptr || root->name != Name::Svg) {
        svg.slide.setSize(800, 600);
        if (root != nullptr) drawElement(*root, initial);
        return;
    }
    drawElement(*root, initial);
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
    const bool isRoot = &element == document.root();
    if (isRoot && element.name == Name::Svg) {
        drawRoot(frame);
        return;
    }
    if (!frame.style.displayed) return;
    const bool referenced = use != nullptr && (element.name == Name::Symbol);
    if (isNeverDrawn(element.name) && !referenced) return;
    frame.ctm = parent.ctm;
    applyTransform(svg, frame.style.transform, frame.ctm);
    frame.opacity = parent.opacity * frame.style.opacity;
    frame.viewport = parent.viewport;
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

// Width and height set the slide size when both give a positive integer; a
// size in per cent leaves the default and lets a viewBox decide. The root
// sizes the slide before anything is drawn on it.
void Drawing::drawRoot(Frame& frame) {
    const Element& root = *frame.element;
    const Attribute* width = root.attribute(Name::Width);
    const Attribute* height = root.attribute(Name::Height);
    bool sizeGiven = false;
    int slideWidth = 800;
    int slideHeight = 600;
    if (positiveSize(width) > 0 && positiveSize(height) > 0) {
        sizeGiven = !endsWithPercent(width) && !endsWithPercent(height);
        if (sizeGiven) {
            slideWidth = positiveSize(width);
            slideHeight = positiveSize(height);
        }
    }
    Matrix viewBox = Matrix::identity();
    if (const Attribute* box = root.attribute(Name::ViewBox))
        svg.convertViewbox(box->value, slideWidth, slideHeight, sizeGiven, viewBox);
    svg.slide.setSize(slideWidth, slideHeight);
    if (!frame.style.displayed) return;
    applyTransform(svg, frame.style.transform, frame.ctm);
    frame.ctm.multiplyFromRight(viewBox);
    frame.opacity = frame.style.opacity;
    frame.viewport = Viewport{static_cast<float>(slideWidth), static_cast<float>(slideHeight)};
    countDropped(frame);
    drawChildren(frame);
}

// A nested svg, or a symbol drawn through `use`: a new viewport at x, y of
// the given size (the use's, where it gives one), its viewBox mapped into it.
void Drawing::drawViewport(Frame& frame, const Element* use) {
    const Element& element = *frame.element;
    auto sized = [&](Name name) {
        const Attribute* own = element.attribute(name);
        return use != nullptr && use->attribute(name) != nullptr ? use->attribute(name) : own;
    };
    const float width = viewportLength(sized(Name::Width), frame.viewport.width);
    const float height = viewportLength(sized(Name::Height), frame.viewport.height);
    frame.ctm.multiplyFromRight(translation(attributeNumber(element, Name::X), attributeNumber(element, Name::Y)));
    frame.viewport = Viewport{width, height};
    if (const Attribute* box = element.attribute(Name::ViewBox)) {
        int viewWidth = static_cast<int>(width);
        int viewHeight = static_cast<int>(height);
        Matrix viewBox = Matrix::identity();
        if (svg.convertViewbox(box->value, viewWidth, viewHeight, true, viewBox) == 0)
            frame.ctm.multiplyFromRight(viewBox);
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
    std::string_view reference = textOf(use.attribute(Name::Href));
    if (reference.empty()) reference = textOf(use.attribute(Name::XlinkHref));
    if (reference.empty() || reference.front() != '#') return;
    const Element* target = document.elementById(reference.substr(1));
    if (target == nullptr) return;
    for (const Frame* within = &frame; within != nullptr; within = within->parent)
        if (within->element == target) return;
    frame.ctm.multiplyFromRight(translation(attributeNumber(use, Name::X), attributeNumber(use, Name::Y)));
    drawElement(*target, frame, &use);
}

void Drawing::drawImage(const Frame& frame) {
    if (frame.style.visible) svg.report.notCarried(imageKind);
}

void Drawing::drawForeignObject(const Frame& frame) {
    if (frame.style.visible) svg.report.notCarried(foreignObjectKind);
}

}  // namespace Pictavo
