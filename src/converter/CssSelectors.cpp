#include "converter/CssSelectors.h"

#include <algorithm>
#include <utility>

#include "converter/CssSyntax.h"
#include "converter/StyleSheet.h"

namespace Pictavo::Css {

namespace {

bool sameCharacter(char a, char b, bool ignoreCase) {
    return ignoreCase ? loweredCharacter(a) == loweredCharacter(b) : a == b;
}

bool sameText(std::string_view a, std::string_view b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameCharacter(a[i], b[i], true)) return false;
    }
    return true;
}

// For each prefix of `value`, the length of its longest proper prefix that is
// also its suffix: a substring search then never steps back in the attribute,
// so a long attribute against a long value costs their lengths, not their product.
std::vector<std::uint32_t> borderLengths(std::string_view value, bool ignoreCase) {
    std::vector<std::uint32_t> borders(value.size(), 0);
    std::uint32_t length = 0;
    for (std::size_t i = 1; i < value.size(); ++i) {
        while (length > 0 && !sameCharacter(value[i], value[length], ignoreCase))
            length = borders[length - 1];
        if (sameCharacter(value[i], value[length], ignoreCase)) ++length;
        borders[i] = length;
    }
    return borders;
}

bool containsValue(std::string_view text, const AttributeTest& test) {
    std::size_t matched = 0;
    for (char c : text) {
        while (matched > 0 && !sameCharacter(c, test.value[matched], test.ignoreCase))
            matched = test.borders[matched - 1];
        if (sameCharacter(c, test.value[matched], test.ignoreCase)) ++matched;
        if (matched == test.value.size()) return true;
    }
    return false;
}

bool includesWord(std::string_view text, std::string_view word, bool ignoreCase) {
    return anyWord(text, [&](std::string_view listed) { return sameText(listed, word, ignoreCase); });
}

struct Counts {
    std::uint32_t ids = 0, classes = 0, types = 0;

    Specificity packed() const {
        auto field = [](std::uint32_t count) { return std::min<std::uint32_t>(count, 1023); };
        return field(ids) << 20 | field(classes) << 10 | field(types);
    }
};

// Reads a selector list as CSS Selectors defines it, for the subset the
// converter supports; every other construct makes the list unreadable.
class SelectorParser {
public:
    explicit SelectorParser(std::string_view text) : text_(text) {}

    std::optional<std::vector<Selector>> list() {
        std::vector<Selector> selectors;
        for (;;) {
            Selector selector;
            if (!complex(selector)) return std::nullopt;
            selectors.push_back(std::move(selector));
            if (atEnd()) return selectors;
            ++position_;  // the comma
        }
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;

    bool atEnd() const { return position_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const {
        return position_ + ahead < text_.size() ? text_[position_ + ahead] : '\0';
    }
    void skipSpace(bool* sawWhitespace = nullptr) {
        position_ = skipWhitespaceAndComments(text_, position_, sawWhitespace);
    }
    bool identifier(std::string& name) { return readIdentifier(text_, position_, name); }

    // Compounds joined by descendant or child combinators, up to a comma or the end.
    bool complex(Selector& selector) {
        Counts counts;
        bool childOfPrevious = false;
        skipSpace();
        for (;;) {
            Compound compound;
            if (!readCompound(compound, counts)) return false;
            compound.childOfNext = childOfPrevious;
            selector.compounds.push_back(std::move(compound));
            bool sawWhitespace = false;
            skipSpace(&sawWhitespace);
            if (atEnd() || peek() == ',') break;
            childOfPrevious = peek() == '>';
            if (childOfPrevious) {
                ++position_;
                skipSpace();
            } else if (!sawWhitespace) {
                return false;
            }
        }
        // Matching starts at the element itself, the rightmost compound; the
        // child flag read with a compound concerns the one written before it.
        std::reverse(selector.compounds.begin(), selector.compounds.end());
        selector.specificity = counts.packed();
        return true;
    }

    bool readCompound(Compound& compound, Counts& counts) {
        bool present = false;
        if (!readTypeSelector(compound, counts, present)) return false;
        for (;; present = true) {
            // A comment is no token: .a/**/.b is .a.b, and a/**/b is no selector.
            position_ = skipComments(text_, position_);
            const char c = peek();
            if (c == '#' || c == '.') {
                ++position_;
                AttributeTest test;
                if (!identifier(test.value)) return false;
                test.name = c == '#' ? "id" : "class";
                test.op = c == '#' ? AttributeTest::Operator::Equals : AttributeTest::Operator::Includes;
                compound.tests.push_back(std::move(test));
                ++(c == '#' ? counts.ids : counts.classes);
            } else if (c == '[') {
                if (!readAttribute(compound)) return false;
                ++counts.classes;
            } else if (c == ':') {
                if (!readPseudoClass(compound)) return false;
                ++counts.classes;
            } else {
                return present;
            }
        }
    }

    // A drawing's elements all share one namespace, so any prefix (svg|rect,
    // *|rect) reads as that one; |rect asks for elements in no namespace,
    // which a drawing does not hold, and is not read.
    bool readTypeSelector(Compound& compound, Counts& counts, bool& present) {
        std::string name;
        if (!readElementName(name)) return peek() != '|';
        if (peek() == '|' && peek(1) != '=') {
            ++position_;
            if (!readElementName(name)) return false;
        }
        present = true;
        if (name != "*") {
            compound.type = lowered(name);
            ++counts.types;
        }
        return true;
    }

    bool readElementName(std::string& name) {
        if (peek() != '*') return identifier(name);
        ++position_;
        name = "*";
        return true;
    }

    bool readAttribute(Compound& compound) {
        ++position_;  // [
        skipSpace();
        AttributeTest test;
        if (!identifier(test.name) || (peek() == '|' && peek(1) != '=')) return false;
        test.name = lowered(test.name);
        skipSpace();
        if (peek() != ']') {
            if (!readOperator(test.op)) return false;
            skipSpace();
            if (peek() == '"' || peek() == '\'') {
                const StringEnd end = readString(text_, position_, &test.value);
                if (end.cut) return false;
                position_ = end.end;
            } else if (!identifier(test.value)) {
                return false;
            }
            skipSpace();
            std::string modifier;
            if (identifier(modifier)) {
                if (!equalsLowered(modifier, "i") && !equalsLowered(modifier, "s")) return false;
                test.ignoreCase = equalsLowered(modifier, "i");
                skipSpace();
            }
            if (peek() != ']') return false;
        }
        ++position_;  // ]
        if (test.op == AttributeTest::Operator::Substring) {
            test.borders = borderLengths(test.value, test.ignoreCase);
        }
        compound.tests.push_back(std::move(test));
        return true;
    }

    bool readOperator(AttributeTest::Operator& op) {
        using Operator = AttributeTest::Operator;
        if (peek() == '=') {
            ++position_;
            op = Operator::Equals;
            return true;
        }
        if (peek(1) != '=') return false;
        switch (peek()) {
        case '~': op = Operator::Includes; break;
        case '|': op = Operator::DashMatch; break;
        case '^': op = Operator::Prefix; break;
        case '$': op = Operator::Suffix; break;
        case '*': op = Operator::Substring; break;
        default: return false;
        }
        position_ += 2;
        return true;
    }

    // Only :first-child; pseudo-elements (::) and functional pseudo-classes
    // start no identifier or are followed by a parenthesis.
    bool readPseudoClass(Compound& compound) {
        ++position_;  // :
        std::string name;
        if (!identifier(name) || peek() == '(' || !equalsLowered(name, "first-child")) return false;
        compound.firstChild = true;
        return true;
    }
};

}  // namespace

bool AttributeTest::matches(const StyledElement& element) const {
    const char* raw = element.attributeValue(name);
    if (!raw) return false;
    const std::string_view actual(raw);
    const std::size_t length = value.size();
    switch (op) {
    case Operator::Exists: return true;
    case Operator::Equals: return sameText(actual, value, ignoreCase);
    case Operator::Includes: return includesWord(actual, value, ignoreCase);
    case Operator::DashMatch:
        return sameText(actual.substr(0, length), value, ignoreCase) &&
               (actual.size() == length || actual[length] == '-');
    case Operator::Prefix: return length > 0 && sameText(actual.substr(0, length), value, ignoreCase);
    case Operator::Suffix:
        return length > 0 && actual.size() >= length &&
               sameText(actual.substr(actual.size() - length), value, ignoreCase);
    case Operator::Substring: return length > 0 && containsValue(actual, *this);
    }
    return false;
}

bool Compound::matches(const StyledElement& element) const {
    if (!type.empty() && element.elementName() != type) return false;
    if (firstChild && !element.isFirstChild()) return false;
    return std::all_of(tests.begin(), tests.end(),
                       [&element](const AttributeTest& test) { return test.matches(element); });
}

// Right to left without recursion. After a descendant combinator the walk
// remembers the ancestor it tried; when a later compound fails, only that
// ancestor's parent needs trying next: an earlier descendant combinator could
// only move the left part higher up, where it has fewer ancestors to match.
// The ancestor retried only ever rises, so an element costs at most the
// nesting depth's square in compound tests, whatever the selector's length.
bool Selector::matches(const StyledElement& element) const {
    std::size_t index = 0;
    const StyledElement* current = &element;
    std::size_t retryIndex = 0;
    const StyledElement* retryElement = nullptr;
    for (;;) {
        const Compound& compound = compounds[index];
        if (compound.matches(*current)) {
            if (index + 1 == compounds.size()) return true;
            current = current->parentElement();
            if (!current) return false;
            ++index;
            if (!compound.childOfNext) {
                retryIndex = index;
                retryElement = current;
            }
        } else {
            if (!retryElement) return false;
            retryElement = retryElement->parentElement();
            if (!retryElement) return false;
            index = retryIndex;
            current = retryElement;
        }
    }
}

std::optional<std::vector<Selector>> parseSelectorList(std::string_view text) {
    return SelectorParser(text).list();
}

}  // namespace Pictavo::Css
