#include "converter/Document.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

// In the order of Name.
const char* const knownNames[] = {
    "#text",
    "a", "circle", "clippath", "defs", "ellipse", "filter", "foreignobject", "g", "image", "line",
    "lineargradient", "marker", "mask", "path", "pattern", "polygon", "polyline", "radialgradient",
    "rect", "stop", "style", "svg", "switch", "symbol", "text", "textpath", "tspan", "use",
    "class", "cx", "cy", "d", "height", "href", "id", "points", "preserveaspectratio", "r",
    "requiredextensions", "requiredfeatures", "rx", "ry", "systemlanguage", "type", "viewbox",
    "width", "x", "x1", "x2", "xlink:href", "y", "y1", "y2",
};
static_assert(std::size(knownNames) == static_cast<std::size_t>(Name::Count));

// Blocks this large hold thousands of elements; a larger text gets a block
// of its own.
const std::size_t blockSize = std::size_t(1) << 20;

}  // namespace

const Attribute* Element::attribute(Name attributeName) const {
    for (std::uint32_t i = 0; i < attributeCount; ++i)
        if (attributes[i].name == attributeName) return &attributes[i];
    return nullptr;
}

std::string_view Element::nameText() const { return document->nameText(name); }

const char* Element::attributeValue(std::string_view lowerName) const {
    const std::optional<Name> number = document->findName(lowerName);
    const Attribute* found = number ? attribute(*number) : nullptr;
    return found != nullptr ? found->value : nullptr;
}

// Character data does not count: `:first-child` asks about elements.
bool Element::isFirstChild() const {
    if (parent == nullptr) return true;
    for (const Element* child = parent->firstChild; child != nullptr; child = child->nextSibling)
        if (child->name != Name::CharacterData) return child == this;
    return false;
}

Document::Document() {
    for (const char* name : knownNames) intern(name);
}

const Element* Document::elementById(std::string_view id) const {
    auto found = ids.find(id);
    return found == ids.end() ? nullptr : found->second;
}

std::string_view Element::href() const {
    const Attribute* href = attribute(Name::Href);
    if (href == nullptr) href = attribute(Name::XlinkHref);
    if (href == nullptr) return std::string_view();
    std::string_view reference = href->text();
    while (!reference.empty() && isSpaceCharacter(reference.front())) reference.remove_prefix(1);
    while (!reference.empty() && isSpaceCharacter(reference.back())) reference.remove_suffix(1);
    return reference;
}

const Element* Document::referencedBy(const Element& element) const {
    const std::string_view reference = element.href();
    if (reference.empty() || reference.front() != '#') return nullptr;
    return elementById(reference.substr(1));
}

std::optional<Name> Document::findName(std::string_view lowered) const {
    auto found = nameNumbers.find(lowered);
    if (found == nameNumbers.end()) return std::nullopt;
    return found->second;
}

Name Document::intern(std::string_view name) {
    auto found = nameNumbers.find(name);
    if (found != nameNumbers.end()) return found->second;
    const auto number = static_cast<Name>(names.size());
    names.emplace_back(name);
    nameNumbers.emplace(names.back(), number);
    return number;
}

void* Document::allocate(std::size_t bytes, std::size_t alignment) {
    std::size_t start = (used + alignment - 1) / alignment * alignment;
    if (blocks.empty() || start + bytes > blocks.back().size) {
        const std::size_t size = std::max(bytes, blockSize);
        blocks.push_back(Block{std::unique_ptr<char[]>(new char[size]), size});
        start = 0;
    }
    used = start + bytes;
    return blocks.back().bytes.get() + start;
}

Element* Document::addElement(Element* parent, Name name) {
    auto* element = new (allocate(sizeof(Element), alignof(Element))) Element(*this, name);
    element->parent = parent;
    if (parent == nullptr) {
        if (rootElement == nullptr) rootElement = element;
    } else if (parent->lastChild == nullptr) {
        parent->firstChild = parent->lastChild = element;
    } else {
        parent->lastChild->nextSibling = element;
        parent->lastChild = element;
    }
    if (name != Name::CharacterData) ++elements;
    if (name == Name::Style) styles.push_back(element);
    return element;
}

Attribute* Document::addAttributes(std::size_t count) {
    if (count == 0) return nullptr;
    return static_cast<Attribute*>(allocate(count * sizeof(Attribute), alignof(Attribute)));
}

const char* Document::keep(std::string_view text) {
    auto* kept = static_cast<char*>(allocate(text.size() + 1, 1));
    std::memcpy(kept, text.data(), text.size());
    kept[text.size()] = '\0';
    return kept;
}

void Document::indexId(const Element& element) {
    if (const Attribute* id = element.attribute(Name::Id)) ids.emplace(id->text(), &element);
}

}  // namespace Pictavo
