#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "converter/Document.h"
#include "converter/Fonts.h"
#include "converter/ValueScanner.h"
#include "converter/StyleSheet.h"
#include "converter/PaintValues.h"

namespace Pictavo {


// The properties that pass from an element to its children unless the child
// sets them. Texts point into the document or into a Declarations object
// that outlives the style (see Cascade::compute).
struct InheritedProperties {
    Paint fill{Paint::Color, {}, {}, false, {}, false};  // black
    Paint stroke;                          // none
    Rgba color;                            // the colour currentColor names
    float fillOpacity = 1;
    float strokeOpacity = 1;
    Length strokeWidth{1, Unit::None};     // per cent of the viewport's diagonal
    std::string_view strokeDashArray;      // empty or "none": solid
    Length strokeDashOffset;
    std::string_view markerStart;          // the marker's id, empty: none
    std::string_view markerMid;
    std::string_view markerEnd;
    std::string_view fontFamily;           // as written; empty: none given
    float fontSize = 16;                   // user units, relative sizes resolved
    bool bold = false;                     // font-weight from 600
    bool italic = false;                   // font-style italic or oblique
    TextAnchor textAnchor = TextAnchor::Start;
    bool visible = true;                   // visibility: visible
};

// The properties that start from their initial value on every element.
struct OwnProperties {
    bool displayed = true;       // display is not none
    float opacity = 1;           // this element's own, not multiplied by its ancestors'
    std::string_view transform;        // the transform list as written (valid), empty: none
    std::string_view transformOrigin;  // as written, empty: 0 0
    std::string_view clipPath;   // empty: none
    std::string_view mask;       // empty: none
    std::string_view filter;     // empty: none
    ColorValue stopColor;        // black
    float stopOpacity = 1;
};

// An element's computed properties, each a named field.
struct ComputedStyle : InheritedProperties, OwnProperties {};

// The declarations of one `style` attribute.
using Declarations = std::vector<Declaration>;

// Computes elements' styles as CSS cascades them, property by property:
// presentation attributes, then the rules of the document's style sheets
// (by specificity, then order), then the `style` attribute, then the
// !important declarations of the sheets and of the attribute; `inherit`
// takes the parent's value; a value the property cannot read is ignored as
// if it were not written.
class Cascade {
public:
    explicit Cascade(const Document& document);
    Cascade(const Cascade&) = delete;
    Cascade& operator=(const Cascade&) = delete;

    // `element`'s style, from its parent's computed style. Texts of the
    // element's `style` attribute are kept in `kept`, which must outlive the
    // style and the styles of the element's descendants.
    void compute(const Element& element, const ComputedStyle& parent, ComputedStyle& style,
                 Declarations& kept) const;

    struct Property;

private:
    std::vector<const Property*> propertyOfName;  // by Name: the presentation attributes
    StyleSheet sheet;                             // every style element's rules
    mutable std::vector<const Declaration*> matched;  // the element's rules, kept for its room

    void apply(const Property& property, std::string_view value, const ComputedStyle& parent,
               ComputedStyle& style) const;
    void applyDeclaration(const Declaration& declaration, const ComputedStyle& parent,
                          ComputedStyle& style) const;
};

}  // namespace Pictavo
