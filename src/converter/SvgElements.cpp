#include <libxml/entities.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

using Orvane::Path;

namespace {

// Entities may nest and repeat ("billion laughs"): the expansion of attribute
// values stops at this nesting depth and, over the whole document, at this
// many bytes. libxml2 already refuses documents whose entities amplify
// wildly; these bounds hold whatever it accepts.
const int maximumEntityDepth = 32;
const std::size_t expansionLimit = std::size_t(1) << 22;

void appendBounded(std::string& text, const xmlChar* content, std::size_t& budget) {
    if (content == nullptr) return;
    std::size_t length = std::min(std::strlen(reinterpret_cast<const char*>(content)), budget);
    text.append(reinterpret_cast<const char*>(content), length);
    budget -= length;
}

void appendNodeText(const xmlNode* node, int depth, std::string& text, std::size_t& budget) {
    for (; node != nullptr && budget > 0; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            appendBounded(text, node->content, budget);
        } else if (node->type == XML_ENTITY_REF_NODE && depth < maximumEntityDepth) {
            // Only internal entities are expanded: external ones are never loaded.
            const xmlEntity* entity = xmlGetDocEntity(node->doc, node->name);
            if (entity == nullptr) continue;
            if (entity->etype == XML_INTERNAL_GENERAL_ENTITY)
                appendNodeText(entity->children, depth + 1, text, budget);
            else if (entity->etype == XML_INTERNAL_PREDEFINED_ENTITY)
                appendBounded(text, entity->content, budget);
        }
    }
}

// The value of an attribute as one text. The usual single text node is used
// in place; anything else (entity references) is expanded into `store`, which
// lives until the walk ends. An attribute without value text reads "".
const char* attributeText(const xmlAttr* attribute, std::deque<std::string>& store,
                          std::size_t& expandedSize) {
    const xmlNode* first = attribute->children;
    if (first == nullptr) return "";
    if (first->type == XML_TEXT_NODE && first->next == nullptr)
        return first->content != nullptr ? reinterpret_cast<const char*>(first->content) : "";
    std::size_t budget = expansionLimit - expandedSize;
    std::string text;
    appendNodeText(first, 0, text, budget);
    expandedSize = expansionLimit - budget;
    store.push_back(std::move(text));
    return store.back().c_str();
}

std::string_view textOf(const xmlChar* name) {
    return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

bool hasCapitals(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isInherited(std::string_view name) {
    return isOneOf(name, {"fill", "stroke", "stroke-width", "stroke-dasharray", "style", "opacity"});
}

bool hasElementChild(const xmlNode* node) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next)
        if (child->type == XML_ELEMENT_NODE) return true;
    return false;
}

// Containers of content that is only drawn by reference (clip paths, masks,
// symbols, markers, patterns): their subtrees are never walked.
bool isNeverDrawn(std::string_view elementName) {
    return isOneOf(elementName, {"defs", "clippath", "mask", "symbol", "marker", "pattern"});
}

// `display` is not inherited: an ancestor that hid itself was never walked
// into, so only the element's own attribute and own style are asked.
bool isDisplayNone(const AttributeMap& attributes, const Declarations* ownStyle) {
    const char* display = valueOf(attributes, "display");
    if (display != nullptr && isNoneValue(display)) return true;
    if (ownStyle == nullptr) return false;
    const char* declared = valueOf(ownStyle->map, "display");
    return declared != nullptr && isNoneValue(declared);
}

bool isPaintValue(std::string_view name) {
    return isOneOf(name, {"fill", "stroke", "stroke-width", "stroke-dasharray", "opacity"});
}

// No paint value needs more than this many characters (colours, numbers, a
// dash pattern, which the stroke cuts to less anyway).
const std::size_t paintValueLimit = 1024;

// A paint value without its leading white space and cut to the limit. Every
// shape below the element reads the value again, so its length must not
// multiply with the number of shapes.
const char* boundedPaintValue(const char* value, std::deque<std::string>& store) {
    const char* text = skipSpace(value);
    if (strnlen(text, paintValueLimit + 1) <= paintValueLimit) return text;
    store.emplace_back(text, paintValueLimit);
    return store.back().c_str();
}

// A slide side as a positive int, or 0 when the text gives none.
int positiveSize(const char* text) {
    if (text == nullptr) return 0;
    errno = 0;
    long value = std::strtol(text, nullptr, 10);
    if (errno == ERANGE || value <= 0 || value > INT_MAX) return 0;
    return static_cast<int>(value);
}

bool endsWithPercent(const char* text) {
    std::size_t length = std::strlen(text);
    return length > 0 && text[length - 1] == '%';
}

// Width and height set the slide size when both give a positive integer; a
// size in per cent leaves the default and lets a viewBox decide. Only the
// first svg element sizes the slide: the header holding the size is written
// before the first drawable.
void convertSvgSize(SVG& svg, const AttributeMap& attributes, Matrix& ctm) {
    if (svg.slideSized) return;
    const char* width = valueOf(attributes, "width");
    const char* height = valueOf(attributes, "height");
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
    if (const char* viewBox = valueOf(attributes, "viewbox"))
        svg.convertViewbox(viewBox, slideWidth, slideHeight, sizeGiven, ctm);
    svg.slide.setSize(slideWidth, slideHeight);
    svg.slideSized = true;
}

using ShapeConverter = Path* (*)(SVG&, AttributeMap&, Matrix&);

Path* circle(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertCircle(attributeNumber(a, "cx"), attributeNumber(a, "cy"),
                             attributeNumber(a, "r"), ctm);
}

Path* ellipse(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertEllipse(attributeNumber(a, "cx"), attributeNumber(a, "cy"),
                              attributeNumber(a, "rx"), attributeNumber(a, "ry"), ctm);
}

// A radius that is not positive takes the other one; each is limited to half
// the side it rounds. Without any positive radius the corners stay square.
Path* rectangle(SVG& svg, AttributeMap& a, Matrix& ctm) {
    float x = attributeNumber(a, "x");
    float y = attributeNumber(a, "y");
    float width = attributeNumber(a, "width");
    float height = attributeNumber(a, "height");
    float rx = attributeNumber(a, "rx", -1);
    float ry = attributeNumber(a, "ry", -1);
    if (!(rx > 0 || ry > 0)) return svg.convertRectangle(x, y, width, height, ctm);
    if (rx < 0) rx = ry;
    if (ry < 0) ry = rx;
    rx = std::min(rx, width / 2);
    ry = std::min(ry, height / 2);
    return svg.convertRoundedRectangle(x, y, width, height, rx, ry, ctm);
}

Path* pathData(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertPath(a.find("d")->second, ctm);
}

Path* polygon(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertPolygon(a.find("points")->second, true, ctm);
}

Path* polyline(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertPolygon(a.find("points")->second, false, ctm);
}

Path* line(SVG& svg, AttributeMap& a, Matrix& ctm) {
    return svg.convertLine(attributeNumber(a, "x1"), attributeNumber(a, "y1"),
                           attributeNumber(a, "x2"), attributeNumber(a, "y2"), ctm);
}

struct ShapeElement {
    std::string_view name;
    const char* required[2];  // a null entry requires nothing
    ShapeConverter convert;
};

const ShapeElement shapeElements[] = {
    {"circle", {"r", nullptr}, circle},
    {"ellipse", {"rx", "ry"}, ellipse},
    {"rect", {"width", "height"}, rectangle},
    {"path", {"d", nullptr}, pathData},
    {"polygon", {"points", nullptr}, polygon},
    {"polyline", {"points", nullptr}, polyline},
    {"line", {"x2", "y2"}, line},
};

const ShapeElement* shapeElementNamed(std::string_view name) {
    for (const ShapeElement& shape : shapeElements)
        if (name == shape.name) return &shape;
    return nullptr;
}

bool hasRequiredAttributes(const ShapeElement& shape, const AttributeMap& attributes) {
    return std::all_of(std::begin(shape.required), std::end(shape.required),
                       [&](const char* name) { return name == nullptr || attributes.count(name); });
}

// The style's paint comes first and the attributes' after it. A fill the
// style declares, "none" included, keeps the default black away, so an
// outline styled fill:none stays unfilled.
void paint(SVG& svg, Path* path, AttributeMap& attributes, Declarations* style, float scale) {
    if (style != nullptr) svg.convertStyle(path, style->map, scale);
    if (attributes.count("stroke")) svg.convertStroke(path, attributes, scale);
    bool styleDeclaresFill = style != nullptr && style->map.count("fill");
    if (attributes.count("fill"))
        svg.convertFill(path, attributes);
    else if (!styleDeclaresFill && path->fills.empty())
        path->fills.push_back(Path::Fill());  // opaque black
    svg.convertOtherAttributes(path, attributes);
}

}  // namespace

std::string_view SVG::attributeName(const xmlChar* name) {
    std::string_view text = textOf(name);
    if (!hasCapitals(text)) return text;
    return *loweredNames.insert(lowered(text)).first;
}

// Returns 1 when neither the element nor anything below it is drawn (a
// container of referenced content, or display none), so the walk passes its
// subtree over; 0 otherwise.
int SVG::convertElement(xmlNode* node, Matrix& ctm, AttributeMap& inherited) {
    const char* ownStyle = nullptr;
    std::vector<AttributeMap::value_type>& own = ownAttributes;
    own.clear();
    for (const xmlAttr* attribute = node->properties; attribute != nullptr;
         attribute = attribute->next) {
        std::string_view name = attributeName(attribute->name);
        const char* value = attributeText(attribute, expandedValues, expandedSize);
        if (isPaintValue(name)) value = boundedPaintValue(value, expandedValues);
        if (name == "style") ownStyle = value;
        own.emplace_back(name, value);
    }
    AttributeMap attributes;
    attributes.assign(inherited, own);
    // Only an element with element children passes anything on.
    if (hasElementChild(node)) {
        for (const auto& [name, value] : own)
            if (isInherited(name)) inherited.set(name, value);
    } else {
        inherited.clear();
    }
    std::string name = lowered(textOf(node->name));
    if (isNeverDrawn(name)) return 1;
    if (isDisplayNone(attributes, ownStyle ? &styleDeclarations(ownStyle) : nullptr)) return 1;

    if (const char* transform = valueOf(attributes, "transform")) convertTransform(transform, ctm);

    if (name == "svg") {
        convertSvgSize(*this, attributes, ctm);
    } else if (name == "text") {
        convertText(node, attributes, ctm);
    } else if (const ShapeElement* shape = shapeElementNamed(name)) {
        if (!hasRequiredAttributes(*shape, attributes)) return 0;
        Path* path = shape->convert(*this, attributes, ctm);
        const char* style = valueOf(attributes, "style");
        paint(*this, path, attributes, style ? &styleDeclarations(style) : nullptr, sizeScale(ctm));
        slide.add(std::unique_ptr<Path>(path));
    }
    return 0;
}

}  // namespace Pictavo
