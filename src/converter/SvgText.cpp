#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "converter/Drawing.h"
#include "converter/ElementValues.h"
#include "converter/Fonts.h"
#include "converter/Lengths.h"
#include "converter/Svg.h"
#include "converter/TextLayout.h"
#include "converter/TextOnPath.h"
#include "presentation/Text.h"

namespace Pictavo {

inline constexpr Report::Kind textOnPathKind{"text on a path (set on a straight line)",
                                             "texts on paths (set on a straight line)"};

namespace {

// The font a box is set in when its text names none.
const char* const defaultFont = "Helvetica";

// What a box takes from the element its first visible character belongs to.
struct BoxStyle {
    std::string family;
    float size = 16;  // user units
    bool bold = false;
    bool italic = false;
    TextAnchor anchor = TextAnchor::Start;
    std::optional<Rgba> color;  // the fill's, or the stroke's of text drawn in outline only
};

BoxStyle boxStyle(const ComputedStyle& style, std::optional<Rgba> color) {
    BoxStyle box;
    box.family = presentedFontFamily(style.fontFamily);
    if (box.family.empty()) box.family = defaultFont;
    box.size = style.fontSize;
    box.bold = style.bold;
    box.italic = style.italic;
    box.anchor = style.textAnchor;
    box.color = color;
    return box;
}

// The share of a text's advance that lies before its anchor.
float anchorShare(TextAnchor anchor) {
    if (anchor == TextAnchor::Middle) return 0.5f;
    return anchor == TextAnchor::End ? 1.0f : 0.0f;
}

// The first of an attribute's list of coordinates (x="10 20 30" gives each
// character a place; a box takes the first), in user units.
std::optional<float> firstCoordinate(const Element& element, std::optional<Name> name, Axis axis,
                                     const LengthContext& context) {
    if (!name) return std::nullopt;
    const Attribute* attribute = element.attribute(*name);
    if (attribute == nullptr) return std::nullopt;
    ValueScanner scanner(attribute->text());
    scanner.skipSpace();
    Length length;
    if (!scanner.length(length) || isAngle(length.unit)) return std::nullopt;
    return userUnits(length, axis, context);
}

// The colour of the text, the opacities of the paint and the element
// multiplied.
void setFontColor(Orvane::Text& box, const Rgba& color, float opacity) {
    box.fontColor[0] = color.r;
    box.fontColor[1] = color.g;
    box.fontColor[2] = color.b;
    box.fontColor[3] = color.a * opacity;
}

// The box of `text` anchored at (x, y) in the user space of `frame`.
std::unique_ptr<Orvane::Text> textBox(std::string_view text, const BoxStyle& style, const TextExtent& extent,
                                      const Frame& frame, float x, float y) {
    auto box = std::make_unique<Orvane::Text>(std::string(text));
    box->fontName = style.family;
    box->fontSize = style.size * sizeScale(frame.ctm);
    setFontColor(*box, *style.color, frame.opacity);
    const float* m = frame.ctm.m;
    placeTextBox(*box, (m[0] * x + m[1] * y) + m[2], (m[3] * x + m[4] * y) + m[5], style.anchor, extent);
    return box;
}

bool isTextContent(Name name) { return name == Name::Tspan || name == Name::A || name == Name::TextPath; }

}  // namespace

// The pen and the box being filled, as the text's content is walked.
struct Drawing::TextRun {
    const Frame& frame;
    std::optional<Name> dx, dy, space, startOffset;  // names the document may not use
    LengthContext lengths;
    float penX = 0, penY = 0;           // where the next box starts, user units
    float boxX = 0, boxY = 0;           // where the current box's anchor is
    CollapsedText content;
    std::optional<BoxStyle> style;      // of the box's first visible character

    TextRun(const Frame& textFrame, const Document& document) : frame(textFrame) {
        dx = document.findName("dx");
        dy = document.findName("dy");
        space = document.findName("space");  // xml:space
        startOffset = document.findName("startoffset");
        lengths.viewportWidth = frame.viewport.width;
        lengths.viewportHeight = frame.viewport.height;
    }

    // Moves the pen to the element's x and y, or by its dx and dy.
    void move(const Element& element, float fontSize) {
        lengths.fontSize = fontSize;
        penX = firstCoordinate(element, Name::X, Axis::Horizontal, lengths).value_or(penX);
        penY = firstCoordinate(element, Name::Y, Axis::Vertical, lengths).value_or(penY);
        penX += firstCoordinate(element, dx, Axis::Horizontal, lengths).value_or(0);
        penY += firstCoordinate(element, dy, Axis::Vertical, lengths).value_or(0);
        boxX = penX;
        boxY = penY;
    }

    // Moves the pen to where the text on `path` starts.
    void moveOnto(const PathGeometry& path, const Element& textPath, float fontSize) {
        lengths.fontSize = fontSize;
        const Attribute* offset = startOffset ? textPath.attribute(*startOffset) : nullptr;
        const Orvane::Point start = pointAlong(path, offset != nullptr ? offset->text() : "", lengths);
        penX = boxX = start.x;
        penY = boxY = start.y;
    }

    bool preserves(const Element& element, bool inherited) const {
        const Attribute* attribute = space ? element.attribute(*space) : nullptr;
        if (attribute == nullptr) return inherited;
        return equalsLowered(attribute->text(), "preserve");
    }
};

// One box for each run of content that starts at a position of its own: the
// text element's, then each tspan's with an x or y of its own. A box is set
// in the font, size, anchor and colour of its first visible character; it is
// never rotated, since the reader shows text boxes upright, and its font
// size follows the drawing's scale.
void Drawing::drawText(const Frame& frame) {
    TextRun run(frame, document);
    run.move(*frame.element, frame.style.fontSize);
    gatherText(*frame.element, frame.style, run.preserves(*frame.element, false), run);
    finishTextBox(run);
}

void Drawing::gatherText(const Element& element, const ComputedStyle& style, bool preserve, TextRun& run) {
    for (const Element* child = element.firstChild; child != nullptr; child = child->nextSibling) {
        if (child->name == Name::CharacterData) {
            if (!style.visible) continue;
            run.content.append(child->data, preserve);
            if (!run.style && run.content.visible()) run.style = boxStyle(style, textColor(style));
            continue;
        }
        if (!isTextContent(child->name)) continue;
        ComputedStyle childStyle;
        Declarations kept;
        cascade.compute(*child, style, childStyle, kept);
        if (!childStyle.displayed) continue;
        std::optional<PathGeometry> path;
        if (child->name == Name::TextPath) {
            svg.report.approximated(textOnPathKind);
            path = textPathGeometry(document, *child);
        }
        const bool positioned = child->name == Name::Tspan &&
                                (child->attribute(Name::X) != nullptr || child->attribute(Name::Y) != nullptr);
        if (positioned || path) finishTextBox(run);
        if (positioned) run.move(*child, childStyle.fontSize);
        if (path) run.moveOnto(*path, *child, childStyle.fontSize);
        gatherText(*child, childStyle, run.preserves(*child, preserve), run);
    }
}

std::optional<Rgba> Drawing::textColor(const ComputedStyle& style) {
    if (style.fill.type != Paint::None) return paintColor(style.fill, style, style.fillOpacity);
    return paintColor(style.stroke, style, style.strokeOpacity);
}

// The pen moves on past the text even when its paint is none, as SVG lays
// the characters out whether or not they are painted.
void Drawing::finishTextBox(TextRun& run) {
    if (run.style && run.content.visible()) {
        const BoxStyle& style = *run.style;
        const std::string_view text = run.content.text();
        const TextExtent extent = textMetrics.measure(text, {style.family, style.bold, style.italic});
        if (style.color) svg.slide.add(textBox(text, style, extent, run.frame, run.boxX, run.boxY));
        run.penX = run.boxX + extent.advance * style.size * (1 - anchorShare(style.anchor));
    }
    run.content.clear();
    run.style.reset();
}

}  // namespace Pictavo
