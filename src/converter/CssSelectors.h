#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Pictavo {

class StyledElement;

namespace Css {

// One attribute selector. Id and class selectors are read as the tests
// [id=v] and [class~=v], which match the same elements in an XML document.
struct AttributeTest {
    enum class Operator { Exists, Equals, Includes, DashMatch, Prefix, Suffix, Substring };

    std::string name;  // lower case
    std::string value;
    Operator op = Operator::Exists;
    bool ignoreCase = false;
    std::vector<std::uint32_t> borders;  // for Substring: the search table the parser builds

    bool matches(const StyledElement& element) const;
};

// The simple selectors one element must all pass.
struct Compound {
    std::string type;  // lower case; empty for the universal selector
    std::vector<AttributeTest> tests;
    bool firstChild = false;
    bool childOfNext = false;  // the next compound leftwards is the parent's, not any ancestor's

    bool matches(const StyledElement& element) const;
};

// Specificity packed so that comparing numbers compares (ids, classes, types);
// each count saturates at 1023 so that none spills into the next.
using Specificity = std::uint32_t;

struct Selector {
    std::vector<Compound> compounds;  // rightmost first
    Specificity specificity = 0;

    bool matches(const StyledElement& element) const;
};

// The selectors of a selector list, or nothing when any of them is one this
// reader does not support: CSS drops the whole rule then.
std::optional<std::vector<Selector>> parseSelectorList(std::string_view text);

}  // namespace Css
}  // namespace Pictavo
