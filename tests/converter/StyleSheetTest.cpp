#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "converter/StyleSheet.h"

using Pictavo::Declaration;
using Pictavo::StyledElement;
using Pictavo::StyleSheet;

namespace {

struct FakeElement : StyledElement {
    FakeElement(std::string name, std::map<std::string, std::string> attributes, const FakeElement* parent,
                bool first)
        : name(std::move(name)), attributes(std::move(attributes)), parent(parent), first(first) {}
    std::string_view elementName() const override { return name; }
    const char* attributeValue(std::string_view key) const override {
        const auto found = attributes.find(std::string(key));
        return found == attributes.end() ? nullptr : found->second.c_str();
    }
    const StyledElement* parentElement() const override { return parent; }
    bool isFirstChild() const override { return first; }
    std::string name;
    std::map<std::string, std::string> attributes;
    const FakeElement* parent;
    bool first;
};

// svg
//   g#layer.chart.dark
//     rect#r1.bar             (first child)
//     rect#r2.bar.hot.bar     (class written twice)
//   g.legend
//     text                    (first child)
//       tspan                 (first child)
struct Drawing {
    FakeElement svg{"svg", {}, nullptr, true};
    FakeElement layer{"g", {{"id", "layer"}, {"class", "chart dark"}}, &svg, true};
    FakeElement r1{"rect", {{"id", "r1"}, {"class", "bar"}, {"data-kind", "aabaaab"}}, &layer, true};
    FakeElement r2{"rect", {{"id", "r2"}, {"class", " bar\thot bar "}, {"fill", "Red"}}, &layer, false};
    FakeElement legend{"g", {{"class", "legend"}}, &svg, false};
    FakeElement text{"text", {{"lang", "en-US"}, {"title", "Sales 2024"}}, &legend, true};
    FakeElement tspan{"tspan", {}, &text, true};

    const FakeElement& operator[](const std::string& key) const {
        return *std::map<std::string, const FakeElement*>{{"svg", &svg}, {"layer", &layer}, {"r1", &r1},
            {"r2", &r2}, {"legend", &legend}, {"text", &text}, {"tspan", &tspan}}.at(key);
    }
};

// The values of the declarations that match the element, in cascade order.
std::string matchedValues(const std::string& sheetText, const StyledElement& element) {
    StyleSheet sheet;
    sheet.add(sheetText);
    std::vector<const Declaration*> declarations;
    sheet.matchingDeclarations(element, declarations);
    std::string values;
    for (const Declaration* declaration : declarations)
        values += (values.empty() ? "" : " ") + declaration->value;
    return values;
}

using MatchRow = std::array<const char*, 3>;  // sheet, element, matched values

}  // namespace

TEST(StyleSheet, MatchesSelectorsInCascadeOrder) {
    const MatchRow rows[] = {
        // Types, universal, namespace prefixes.
        {"rect{x:1}", "r1", "1"}, {"RECT{x:1}", "r2", "1"}, {"*{x:1}", "tspan", "1"},
        {"svg|rect{x:1} *|text{x:2}", "r1", "1"},
        // Classes and ids: case-sensitive, all required.
        {".bar.hot{x:1}", "r2", "1"}, {".bar.hot{x:1}", "r1", ""}, {".BAR{x:1}", "r1", ""},
        {"#r2{x:1}", "r1", ""}, {"rect#r2.hot{x:1}", "r2", "1"}, {"g#r2{x:1}", "r2", ""},
        {"#\\72 2{x:1}", "r2", "1"},
        // Attributes.
        {"[FILL]{x:1}", "r2", "1"}, {"[fill=Red]{x:1}", "r2", "1"}, {"[fill=red]{x:1}", "r2", ""},
        {"[fill='red' i]{x:1}", "r2", "1"}, {"[class~=hot]{x:1}", "r2", "1"},
        {"[class~=ho]{x:1}", "r2", ""}, {"[lang|=en]{x:1}", "text", "1"},
        {"[title^=\"Sales\"]{x:1}", "text", "1"}, {"[title$='2024']{x:1}", "text", "1"},
        {"[fill^='']{x:1}", "r2", ""}, {"[data-kind*=aaab]{x:1}", "r1", "1"},
        {"[data-kind*=abab]{x:1}", "r1", ""},
        // Combinators, with the walk retrying higher ancestors after a failed child step.
        {"svg rect{x:1}", "r1", "1"}, {"svg > rect{x:1}", "r1", ""}, {"svg > * tspan{x:1}", "tspan", "1"},
        {"svg > text tspan{x:1}", "tspan", ""}, {"g g tspan{x:1}", "tspan", ""},
        {"rect:first-child{x:1}", "r1", "1"}, {"g:first-child rect{x:1}", "r2", "1"},
        {"g:FIRST-CHILD text{x:1}", "text", ""},
        // Order: specificity, then source; a list counts once with its best selector.
        {"#r2{x:a} rect{x:b} .bar{x:c} rect{x:d}", "r2", "b d c a"},
        {"rect, #r2 {x:a} .bar.hot {x:b}", "r2", "b a"}, {"[id=r2]{x:a} #r2{x:b} .hot{x:c}", "r2", "a c b"},
        {"rect{x:a; y:b} *{x:c}", "r2", "c a b"},
    };
    const Drawing drawing;
    for (const auto& [sheet, element, expected] : rows)
        EXPECT_EQ(matchedValues(sheet, drawing[element]), expected) << sheet << " on " << element;
}

TEST(StyleSheet, ParsesDeclarationLists) {
    const std::pair<std::string, std::string> rows[] = {
        {"  FILL : Red  ;;", "fill=Red"},
        {"fill:red!important;fill: blue ! IMPORTANT ;fill:green", "fill=red!;fill=blue!;fill=green"},
        {"/* a */ fill /* b */ : /* c */ red /* d */ !/**/important", "fill=red!"},
        {"content: \"x !important\"; x: notimportant", "content=\"x !important\";x=notimportant"},
        {"fill; :red; fi ll: red; 1x: red; -: red", ""}, {"--x: a; -y:b; fill:", "--x=a;-y=b;fill="},
        {"font-family: 'a;b', \"c}d\"", "font-family='a;b', \"c}d\""},
        {"fill: url(data:a;b/*c); stroke: rgb(1, 2, 3)", "fill=url(data:a;b/*c);stroke=rgb(1, 2, 3)"},
        {"@foo { a: b } fill: red; @bar x: y; z: 1", "fill=red;z=1"},
        {"fill: red; stroke: rgb(1;2", "fill=red;stroke=rgb(1;2"}, {"fill: \"abc", "fill=\"abc"},
        {"f\\69ll: 1e3", "fill=1e3"},
    };
    for (const auto& [text, expected] : rows) {
        std::string found;
        for (const Declaration& declaration : Pictavo::parseDeclarations(text)) {
            found += (found.empty() ? "" : ";") + declaration.name + "=" + declaration.value +
                     (declaration.important ? "!" : "");
        }
        EXPECT_EQ(found, expected) << text;
    }
}

// Whatever cannot be read is skipped whole, and never costs more than a pass
// over the text, however it nests.
TEST(StyleSheet, SkipsAtRulesAndUnreadableRules) {
    const std::string deep(1 << 20, '(');
    std::string manyCompounds;
    for (int i = 0; i < 100000; ++i) manyCompounds += "svg ";
    const std::pair<std::string, std::string> rows[] = {
        {"@media print { rect { x: 1 } } rect { x: 2 }", "2"},
        {"@namespace svg url(http://www.w3.org/2000/svg); @font-face { src: url(f) } rect{x:1}", "1"},
        {"@media screen { rect { x: 1 }", ""},
        {"rect:hover{x:1} rect::before{x:2} rect:not(.a){x:3} rect + rect{x:4} rect ~ rect{x:5} "
         "rect:nth-child(2){x:6} |rect{x:7} [*|fill]{x:8} rect{x:9}",
         "9"},
        {"rect, rect:hover {x:1}", ""}, {"rect, {x:1} , rect{x:2} rect >{x:3} rect > > rect{x:4}", ""},
        {"<!-- rect { x: 1 } -->", "1"}, {"rect { x: 1 } } rect { x: 2 }", "1"},
        {"rect { x: '}' ; y: 2 } rect{z:3}", "'}' 2 3"},
        {"rect /* { */ { x: 1 } rect{x:2} /* rect{x:3}", "1 2"},
        {".bar/**/.hot{x:1} rect/**/rect{x:2}", "1"}, {"[data-x='{'] {x:1} rect{x:2}", "2"},
        {"rect { x: 1; @media { y: 2 } z: 3 }", "1 3"}, {std::string(1 << 20, '{') + "rect{x:1}", ""},
        {"rect{x:1}" + deep + "}", "1"}, {"rect{y:1;x:" + deep, "1 " + deep},
        {manyCompounds + "rect{x:1} rect{x:2}", "2"},
    };
    const Drawing drawing;
    for (const auto& [sheet, expected] : rows)
        EXPECT_EQ(matchedValues(sheet, drawing.r2), expected) << sheet.substr(0, 100);
}
