#include "converter/StyleSheet.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "converter/CssSyntax.h"

namespace Pictavo {

namespace {

bool startsWith(std::string_view text, std::size_t position, std::string_view prefix) {
    return text.substr(position, prefix.size()) == prefix;
}

bool startsAtKeyword(std::string_view text, std::size_t position) {
    return text[position] == '@' && Css::startsIdentifier(text, position + 1);
}

// An at-rule ends with its semicolon or its block, wherever it stands: none
// is read, and each is skipped whole.
std::size_t atRuleEnd(std::string_view text, std::size_t position) {
    std::size_t end = Css::runEnd(text, position, ";{");
    if (end < text.size() && text[end] == '{') end = Css::runEnd(text, end + 1, "}");
    return std::min(end + 1, text.size());
}

// Between rules CSS skips <!-- and -->, which let early documents hide a
// style sheet from programs that would have shown it as text.
std::size_t nextRuleStart(std::string_view text, std::size_t position) {
    for (;;) {
        position = Css::skipWhitespaceAndComments(text, position);
        if (startsWith(text, position, "<!--")) {
            position += 4;
        } else if (startsWith(text, position, "-->")) {
            position += 3;
        } else {
            return position;
        }
    }
}

// Takes a trailing "!important" (the keyword in any case, white space allowed
// after the "!") off the value and tells whether it was there.
bool removeImportant(std::string_view& value) {
    constexpr std::string_view keyword = "important";
    if (value.size() < keyword.size() ||
        !equalsLowered(value.substr(value.size() - keyword.size()), keyword)) {
        return false;
    }
    const std::string_view before = trimmed(value.substr(0, value.size() - keyword.size()));
    if (before.empty() || before.back() != '!') return false;
    value = trimmed(before.substr(0, before.size() - 1));
    return true;
}

// A declaration is an identifier, a colon, then the value: anything up to the
// semicolon that ended `item`, blocks and strings included.
void addDeclaration(std::string_view item, std::vector<Declaration>& declarations) {
    const std::size_t colon = Css::runEnd(item, 0, ":");
    std::string name;
    std::size_t position = 0;
    if (colon == item.size() || !Css::readIdentifier(item, position, name) ||
        Css::skipWhitespaceAndComments(item, position) != colon) {
        return;
    }
    const std::string_view written = item.substr(colon + 1);
    std::string uncommented;
    std::string_view value = written;
    if (written.find("/*") != std::string_view::npos) {
        uncommented = Css::withoutComments(written);
        value = uncommented;
    }
    value = trimmed(value);
    const bool important = removeImportant(value);
    declarations.push_back({lowered(name), std::string(value), important});
}

struct Match {
    Css::Specificity specificity;
    std::uint32_t rule;
};

// A rule several of whose selectors match counts once, with the highest
// specificity among them; rules then follow by specificity, then source order.
void sortForCascade(std::vector<Match>& matches) {
    if (matches.size() < 2) return;
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.rule != b.rule ? a.rule < b.rule : a.specificity > b.specificity;
    });
    matches.erase(std::unique(matches.begin(), matches.end(),
                              [](const Match& a, const Match& b) { return a.rule == b.rule; }),
                  matches.end());
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.specificity != b.specificity ? a.specificity < b.specificity : a.rule < b.rule;
    });
}

}  // namespace

std::vector<Declaration> parseDeclarations(std::string_view text) {
    std::vector<Declaration> declarations;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = Css::skipWhitespaceAndComments(text, position);
        if (start < text.size() && startsAtKeyword(text, start)) {
            position = atRuleEnd(text, start);
            continue;
        }
        const std::size_t end = Css::runEnd(text, start, ";");
        addDeclaration(text.substr(start, end - start), declarations);
        position = end + 1;
    }
    return declarations;
}

void StyleSheet::add(std::string_view text) {
    std::size_t position = nextRuleStart(text, 0);
    while (position < text.size()) {
        if (startsAtKeyword(text, position)) {
            position = atRuleEnd(text, position);
        } else {
            // A prelude that no block follows is no rule; a block that the
            // text ends before its closing brace is closed by the end.
            const std::size_t open = Css::runEnd(text, position, "{");
            if (open == text.size()) return;
            const std::size_t close = Css::runEnd(text, open + 1, "}");
            addRule(text.substr(position, open - position), text.substr(open + 1, close - open - 1));
            position = std::min(close + 1, text.size());
        }
        position = nextRuleStart(text, position);
    }
}

bool StyleSheet::empty() const { return selectors_.empty(); }

void StyleSheet::addRule(std::string_view prelude, std::string_view body) {
    std::optional<std::vector<Css::Selector>> selectors = Css::parseSelectorList(prelude);
    if (!selectors) return;
    std::vector<Declaration> declarations = parseDeclarations(body);
    if (declarations.empty()) return;
    const auto rule = static_cast<std::uint32_t>(rules_.size());
    rules_.push_back({static_cast<std::uint32_t>(declarations_.size()),
                      static_cast<std::uint32_t>(declarations.size())});
    std::move(declarations.begin(), declarations.end(), std::back_inserter(declarations_));
    for (Css::Selector& selector : *selectors) index(std::move(selector), rule);
}

// A selector is filed under the most selective name its rightmost compound
// requires (an id, else a class, else a type), so that an element is tested
// only against selectors that can match it; the rest go to the universal bucket.
void StyleSheet::index(Css::Selector selector, std::uint32_t rule) {
    using Operator = Css::AttributeTest::Operator;
    const auto number = static_cast<std::uint32_t>(selectors_.size());
    const Css::Compound& rightmost = selector.compounds.front();
    auto requiredTest = [&rightmost](std::string_view name, Operator op) -> const Css::AttributeTest* {
        for (const Css::AttributeTest& test : rightmost.tests) {
            if (test.name == name && test.op == op && !test.ignoreCase) return &test;
        }
        return nullptr;
    };
    if (const Css::AttributeTest* id = requiredTest("id", Operator::Equals)) {
        byId_.add(id->value, number);
    } else if (const Css::AttributeTest* className = requiredTest("class", Operator::Includes)) {
        byClass_.add(className->value, number);
    } else if (!rightmost.type.empty()) {
        byType_.add(rightmost.type, number);
    } else {
        universal_.push_back(number);
    }
    selectors_.push_back({std::move(selector), rule});
}

void StyleSheet::matchingDeclarations(const StyledElement& element,
                                      std::vector<const Declaration*>& out) const {
    if (selectors_.empty()) return;
    // Kept from call to call, so that matching allocates only while these
    // grow to the largest counts an element needs.
    thread_local std::vector<const Bucket*> buckets;
    thread_local std::vector<Match> matches;
    buckets.clear();
    auto consider = [](const Bucket* bucket) {
        if (bucket) buckets.push_back(bucket);
    };
    if (const char* id = element.attributeValue("id")) consider(byId_.find(id));
    if (const char* classes = element.attributeValue("class")) {
        Css::anyWord(classes, [this, &consider](std::string_view name) {
            consider(byClass_.find(name));
            return false;
        });
        // A class written twice must neither match its rules twice nor cost twice.
        std::sort(buckets.begin(), buckets.end());
        buckets.erase(std::unique(buckets.begin(), buckets.end()), buckets.end());
    }
    consider(byType_.find(element.elementName()));
    if (!universal_.empty()) buckets.push_back(&universal_);

    matches.clear();
    for (const Bucket* bucket : buckets) {
        for (std::uint32_t number : *bucket) {
            const IndexedSelector& indexed = selectors_[number];
            if (indexed.selector.matches(element))
                matches.push_back({indexed.selector.specificity, indexed.rule});
        }
    }
    sortForCascade(matches);
    for (const Match& match : matches) {
        const Rule& rule = rules_[match.rule];
        for (std::uint32_t i = 0; i < rule.declarationCount; ++i) {
            out.push_back(&declarations_[rule.firstDeclaration + i]);
        }
    }
}

void StyleSheet::Buckets::add(std::string_view name, std::uint32_t selector) {
    auto found = buckets_.find(name);
    if (found == buckets_.end()) {
        names_.emplace_back(name);
        found = buckets_.emplace(names_.back(), Bucket()).first;
    }
    found->second.push_back(selector);
}

const StyleSheet::Bucket* StyleSheet::Buckets::find(std::string_view name) const {
    const auto found = buckets_.find(name);
    return found == buckets_.end() ? nullptr : &found->second;
}

}  // namespace Pictavo
