#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "converter/CssSelectors.h"

namespace Pictavo {

// One property declaration: name lowered, value trimmed with "!important" removed.
struct Declaration {
    std::string name;
    std::string value;
    bool important = false;
};

// The declarations of a declaration list (a style attribute, or a rule's body), in order. Comments are
// removed; a declaration without a colon or with an empty name is dropped; values keep their text
// (quotes, parentheses, commas) except surrounding white space; a later declaration of the same name is
// kept as well (the caller takes the last one of each importance).
std::vector<Declaration> parseDeclarations(std::string_view text);

// What selector matching needs to know of an element. Implemented by the document model.
class StyledElement {
public:
    virtual ~StyledElement() = default;
    virtual std::string_view elementName() const = 0;  // local name, lower case
    virtual const char* attributeValue(
        std::string_view name) const = 0;                    // by lower-case name; null when absent
    virtual const StyledElement* parentElement() const = 0;  // null for the root
    virtual bool isFirstChild() const = 0;                   // the first element among its siblings
};

class StyleSheet {
public:
    // Parses one style sheet text (the content of one <style> element) and appends its rules after the
    // rules added before.
    void add(std::string_view text);
    bool empty() const;
    // Appends to `out` every declaration of every rule that matches `element`, in cascade order:
    // ascending specificity, then source order. (The caller layers presentation attributes, these,
    // the style attribute and !important.) The pointers stay valid until the next add().
    void matchingDeclarations(const StyledElement& element, std::vector<const Declaration*>& out) const;

private:
    struct Rule {
        std::uint32_t firstDeclaration;
        std::uint32_t declarationCount;
    };
    struct IndexedSelector {
        Css::Selector selector;
        std::uint32_t rule;
    };
    using Bucket = std::vector<std::uint32_t>;  // indexes into selectors_

    // Selectors by the name their rightmost compound requires. The names live
    // in a deque, where they stay put as more are added, so the map's keys can
    // be views of them and a lookup by an element's attribute text allocates nothing.
    class Buckets {
    public:
        void add(std::string_view name, std::uint32_t selector);
        const Bucket* find(std::string_view name) const;

    private:
        std::deque<std::string> names_;
        std::unordered_map<std::string_view, Bucket> buckets_;
    };

    std::vector<Declaration> declarations_;
    std::vector<Rule> rules_;
    std::vector<IndexedSelector> selectors_;
    Buckets byId_, byClass_, byType_;
    Bucket universal_;

    void addRule(std::string_view prelude, std::string_view body);
    void index(Css::Selector selector, std::uint32_t rule);
};

}  // namespace Pictavo
