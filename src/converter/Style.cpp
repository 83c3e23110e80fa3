#include "converter/Style.h"

#include <algorithm>
#include <optional>
#include <string>

#include "converter/ElementValues.h"
#include "converter/Fonts.h"
#include "converter/Lengths.h"
#include "converter/PaintValues.h"
#include "converter/Transforms.h"

namespace Pictavo {

namespace {

// A text property whose keyword none means the same as not setting it.
std::string_view unlessNone(std::string_view value) {
    return equalsKeyword(value, "none") ? std::string_view() : trimmed(value);
}

}  // namespace

// How a property reads its value into the computed style, and how its value
// passes from a parent when the value is `inherit`.
struct Cascade::Property {
    const char* name;
    // False for a value the property cannot take. Relative values are
    // resolved against `parent`'s.
    bool (*read)(std::string_view value, const ComputedStyle& parent, ComputedStyle& style);
    void (*inherit)(const ComputedStyle& parent, ComputedStyle& style);
};

namespace {

template <auto Member>
void inheritField(const ComputedStyle& parent, ComputedStyle& style) {
    style.*Member = parent.*Member;
}

template <Paint InheritedProperties::*Member>
bool readPaintProperty(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<Paint> paint = readPaint(value);
    if (!paint) return false;
    style.*Member = *paint;
    return true;
}

// currentColor in `color` itself is its parent's colour.
bool readColorProperty(std::string_view value, const ComputedStyle& parent, ComputedStyle& style) {
    const std::optional<ColorValue> color = readColor(value);
    if (!color) return false;
    style.color = color->current ? parent.color : color->rgba;
    return true;
}

bool readStrokeWidth(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<Length> width = readLength(value);
    if (!width || width->value < 0) return false;
    style.strokeWidth = *width;
    return true;
}

// No dash array needs this many characters; every shape below the element
// reads the text again, so a longer one is cut after its last whole entry
// within the limit.
const std::size_t dashArrayLimit = 1024;

bool readDashArrayProperty(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    if (value.size() > dashArrayLimit) {
        value = value.substr(0, dashArrayLimit);
        value = value.substr(0, value.find_last_of(", \t\n\r\f"));
        while (!value.empty() && (value.back() == ',' || isSpaceCharacter(value.back())))
            value.remove_suffix(1);
    }
    style.strokeDashArray = unlessNone(value);
    return true;
}

bool readFontFamily(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    style.fontFamily = value;
    return true;
}

bool readFontSize(std::string_view value, const ComputedStyle& parent,
                  ComputedStyle& style) {
    const std::optional<float> size = Pictavo::readFontSize(value, parent.fontSize);
    if (!size) return false;
    style.fontSize = *size;
    return true;
}

bool readFontWeight(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<bool> bold = readFontWeightBold(value);
    if (!bold) return false;
    style.bold = *bold;
    return true;
}

bool readFontStyle(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<bool> italic = readFontStyleItalic(value);
    if (!italic) return false;
    style.italic = *italic;
    return true;
}

bool readFont(std::string_view value, const ComputedStyle& parent, ComputedStyle& style) {
    const std::optional<FontShorthand> font = readFontShorthand(value, parent.fontSize);
    if (!font) return false;
    style.fontFamily = font->family;
    style.fontSize = font->size;
    style.bold = font->bold;
    style.italic = font->italic;
    return true;
}

bool readTextAnchorProperty(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<TextAnchor> anchor = readTextAnchor(value);
    if (!anchor) return false;
    style.textAnchor = *anchor;
    return true;
}

bool readVisibility(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    if (equalsKeyword(value, "visible"))
        style.visible = true;
    else if (equalsKeyword(value, "hidden") || equalsKeyword(value, "collapse"))
        style.visible = false;
    else
        return false;
    return true;
}

bool readDisplay(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    style.displayed = !equalsKeyword(value, "none");
    return true;
}

template <auto Member>
bool readOpacityProperty(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<float> opacity = readOpacity(value);
    if (!opacity) return false;
    style.*Member = *opacity;
    return true;
}

bool readStopColor(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<ColorValue> color = readColor(value);
    if (!color) return false;
    style.stopColor = *color;
    return true;
}

// A marker is none or url(#id): a paint without colour or fallback.
std::optional<std::string_view> markerReference(std::string_view value) {
    const std::optional<Paint> reference = readPaint(value);
    if (!reference || reference->type == Paint::Color || reference->hasFallback) return std::nullopt;
    return reference->id;
}

template <std::string_view InheritedProperties::*Member>
bool readMarkerProperty(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<std::string_view> id = markerReference(value);
    if (!id) return false;
    style.*Member = *id;
    return true;
}

// The marker shorthand sets the three.
bool readMarkers(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<std::string_view> id = markerReference(value);
    if (!id) return false;
    style.markerStart = style.markerMid = style.markerEnd = *id;
    return true;
}

void inheritMarkers(const ComputedStyle& parent, ComputedStyle& style) {
    style.markerStart = parent.markerStart;
    style.markerMid = parent.markerMid;
    style.markerEnd = parent.markerEnd;
}

bool readDashOffset(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    const std::optional<Length> offset = readLength(value);
    if (!offset) return false;
    style.strokeDashOffset = *offset;
    return true;
}

// The list is read again where it is applied, against the element's
// lengths; here only whether it can be read at all.
bool readTransform(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    Matrix ignored = Matrix::identity();
    if (!Pictavo::readTransform(value, ignored)) return false;
    style.transform = unlessNone(value);
    return true;
}

bool readTransformOrigin(std::string_view value, const ComputedStyle&,
                         ComputedStyle& style) {
    style.transformOrigin = trimmed(value);
    return true;
}

template <std::string_view OwnProperties::*Member>
bool readReference(std::string_view value, const ComputedStyle&, ComputedStyle& style) {
    style.*Member = unlessNone(value);
    return true;
}

using S = ComputedStyle;

void inheritFont(const ComputedStyle& parent, ComputedStyle& style) {
    style.fontFamily = parent.fontFamily;
    style.fontSize = parent.fontSize;
    style.bold = parent.bold;
    style.italic = parent.italic;
}

const Cascade::Property properties[] = {
    {"fill", readPaintProperty<&InheritedProperties::fill>, inheritField<&S::fill>},
    {"stroke", readPaintProperty<&InheritedProperties::stroke>, inheritField<&S::stroke>},
    {"color", readColorProperty, inheritField<&S::color>},
    {"fill-opacity", readOpacityProperty<&S::fillOpacity>, inheritField<&S::fillOpacity>},
    {"stroke-opacity", readOpacityProperty<&S::strokeOpacity>, inheritField<&S::strokeOpacity>},
    {"stroke-dashoffset", readDashOffset, inheritField<&S::strokeDashOffset>},
    {"marker-start", readMarkerProperty<&S::markerStart>, inheritField<&S::markerStart>},
    {"marker-mid", readMarkerProperty<&S::markerMid>, inheritField<&S::markerMid>},
    {"marker-end", readMarkerProperty<&S::markerEnd>, inheritField<&S::markerEnd>},
    {"stop-color", readStopColor, inheritField<&S::stopColor>},
    {"stop-opacity", readOpacityProperty<&S::stopOpacity>, inheritField<&S::stopOpacity>},
    {"stroke-width", readStrokeWidth, inheritField<&S::strokeWidth>},
    {"stroke-dasharray", readDashArrayProperty, inheritField<&S::strokeDashArray>},
    {"font-family", readFontFamily, inheritField<&S::fontFamily>},
    {"font-size", readFontSize, inheritField<&S::fontSize>},
    {"font-weight", readFontWeight, inheritField<&S::bold>},
    {"font-style", readFontStyle, inheritField<&S::italic>},
    {"font", readFont, inheritFont},
    {"text-anchor", readTextAnchorProperty, inheritField<&S::textAnchor>},
    {"visibility", readVisibility, inheritField<&S::visible>},
    {"display", readDisplay, inheritField<&S::displayed>},
    {"opacity", readOpacityProperty<&S::opacity>, inheritField<&S::opacity>},
    {"transform", readTransform, inheritField<&S::transform>},
    {"transform-origin", readTransformOrigin, inheritField<&S::transformOrigin>},
    {"clip-path", readReference<&OwnProperties::clipPath>, inheritField<&S::clipPath>},
    {"mask", readReference<&OwnProperties::mask>, inheritField<&S::mask>},
    {"filter", readReference<&OwnProperties::filter>, inheritField<&S::filter>},
};

// Shorthands that style sheets and style attributes may declare but that are
// no presentation attributes.
const Cascade::Property shorthands[] = {
    {"marker", readMarkers, inheritMarkers},
};

const Cascade::Property* propertyNamed(std::string_view name) {
    for (const Cascade::Property& property : properties)
        if (name == property.name) return &property;
    for (const Cascade::Property& property : shorthands)
        if (name == property.name) return &property;
    return nullptr;
}

// A style element's text is a sheet when its type says CSS, or nothing.
bool holdsCss(const Element& style) {
    const Attribute* type = style.attribute(Name::Type);
    return type == nullptr || trimmed(type->text()).empty() || equalsKeyword(type->text(), "text/css");
}

std::string characterData(const Element& element) {
    std::string text;
    for (const Element* child = element.firstChild; child != nullptr; child = child->nextSibling)
        if (child->name == Name::CharacterData) text += child->data;
    return text;
}

}  // namespace

Cascade::Cascade(const Document& document) {
    propertyOfName.assign(document.nameCount(), nullptr);
    for (const Property& property : properties) {
        if (const std::optional<Name> name = document.findName(property.name))
            propertyOfName[static_cast<std::size_t>(*name)] = &property;
    }
    for (const Element* style : document.styleElements())
        if (holdsCss(*style)) sheet.add(characterData(*style));
}

void Cascade::apply(const Property& property, std::string_view value, const ComputedStyle& parent,
                    ComputedStyle& style) const {
    if (equalsKeyword(value, "inherit"))
        property.inherit(parent, style);
    else
        property.read(value, parent, style);
}

void Cascade::applyDeclaration(const Declaration& declaration, const ComputedStyle& parent,
                               ComputedStyle& style) const {
    if (const Property* property = propertyNamed(declaration.name))
        apply(*property, declaration.value, parent, style);
}

void Cascade::compute(const Element& element, const ComputedStyle& parent, ComputedStyle& style,
                      Declarations& kept) const {
    style = parent;
    static_cast<OwnProperties&>(style) = OwnProperties();
    const Attribute* styleAttribute = nullptr;
    for (std::uint32_t i = 0; i < element.attributeCount; ++i) {
        const Attribute& attribute = element.attributes[i];
        if (attribute.name == Name::Style) styleAttribute = &attribute;
        const auto number = static_cast<std::size_t>(attribute.name);
        if (number < propertyOfName.size() && propertyOfName[number] != nullptr)
            apply(*propertyOfName[number], attribute.text(), parent, style);
    }
    matched.clear();
    if (!sheet.empty()) sheet.matchingDeclarations(element, matched);
    if (styleAttribute != nullptr) kept = parseDeclarations(styleAttribute->text());
    if (matched.empty() && kept.empty()) return;
    for (const bool important : {false, true}) {
        for (const Declaration* declaration : matched)
            if (declaration->important == important) applyDeclaration(*declaration, parent, style);
        for (const Declaration& declaration : kept)
            if (declaration.important == important) applyDeclaration(declaration, parent, style);
    }
}

}  // namespace Pictavo
