#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "converter/StyleSheet.h"

namespace Pictavo {

// Element and attribute names, lowered. The names the converter asks for have
// fixed numbers, listed in `knownNames` in the same order; any other name is
// numbered as it is first met in a document.
enum class Name : std::uint32_t {
    CharacterData,  // the character data between elements, kept only where read
    // Elements.
    A, Circle, ClipPath, Defs, Ellipse, Filter, ForeignObject, G, Image, Line, LinearGradient,
    Marker, Mask, Path, Pattern, Polygon, Polyline, RadialGradient, Rect, Stop, Style, Svg, Switch,
    Symbol, Text, TextPath, Tspan, Use,
    // Attributes (besides style and filter above) that are no presentation attributes.
    Class, Cx, Cy, D, Height, Href, Id, Points, PreserveAspectRatio, R, RequiredExtensions,
    RequiredFeatures, Rx, Ry, SystemLanguage, Type, ViewBox, Width, X, X1, X2, XlinkHref, Y, Y1, Y2,
    Count  // the first number given to a name met in the document
};

class Document;

// One attribute: its name and its value text, held in the document's arena.
struct Attribute {
    const char* value;
    std::uint32_t length;
    Name name;

    std::string_view text() const { return {value, length}; }
};

// An element as read: its name, its attributes in document order, its
// children in order. Character data is a child of its own (named
// CharacterData, its text in `data`), kept only below text and style
// elements, where something reads it.
class Element : public StyledElement {
public:
    const Document* document;
    Element* parent = nullptr;
    Element* firstChild = nullptr;
    Element* lastChild = nullptr;
    Element* nextSibling = nullptr;
    const Attribute* attributes = nullptr;
    std::uint32_t attributeCount = 0;
    Name name;
    std::string_view data;  // CharacterData only

    Element(const Document& owner, Name elementName) : document(&owner), name(elementName) {}

    // The value of the named attribute, or null when the element has none.
    const Attribute* attribute(Name attributeName) const;
    std::string_view nameText() const;
    // The href attribute's text, else xlink:href's, without white space
    // around it; empty when there is neither.
    std::string_view href() const;

    // What style sheet selectors ask.
    std::string_view elementName() const override { return nameText(); }
    const char* attributeValue(std::string_view lowerName) const override;
    const StyledElement* parentElement() const override { return parent; }
    bool isFirstChild() const override;
};

// The whole drawing as read, owning every element, attribute and text. They
// are placed one after another in large blocks: a document of a million
// elements makes a few hundred allocations, and nothing moves once placed.
class Document {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const Element* root() const { return rootElement; }
    // The style elements, in document order.
    const std::vector<const Element*>& styleElements() const { return styles; }
    std::size_t elementCount() const { return elements; }
    // The element with this id; the first one when several share it.
    const Element* elementById(std::string_view id) const;
    // The element that `element`'s href (else its xlink:href) names as
    // "#id", white space around it allowed; null when it names none here.
    const Element* referencedBy(const Element& element) const;
    std::string_view nameText(Name name) const { return names[static_cast<std::size_t>(name)]; }
    std::size_t nameCount() const { return names.size(); }
    // The number of a lowered name, or nothing when the document never met it.
    std::optional<Name> findName(std::string_view lowered) const;

    // Building, as the reader meets the parts in document order.
    Name intern(std::string_view name);
    Element* addElement(Element* parent, Name name);
    Attribute* addAttributes(std::size_t count);
    const char* keep(std::string_view text);
    void indexId(const Element& element);

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
    };
    std::vector<Block> blocks;
    std::size_t used = 0;  // bytes used in the last block
    std::deque<std::string> names;  // a deque: the texts stay where they are
    std::unordered_map<std::string_view, Name> nameNumbers;  // views into `names`
    std::unordered_map<std::string_view, const Element*> ids;
    Element* rootElement = nullptr;
    std::vector<const Element*> styles;
    std::size_t elements = 0;

    void* allocate(std::size_t bytes, std::size_t alignment);
};

}  // namespace Pictavo
