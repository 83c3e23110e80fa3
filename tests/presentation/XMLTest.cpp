#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "presentation/Written.h"
#include "presentation/XML.h"

using Orvane::XML;

TEST(XMLExport, WritesIndentedTree) {
    struct Case {
        const char* name;
        std::function<void(XML&)> build;
        int depth;
        std::string expected;
    } cases[] = {
        {"empty element", [](XML&) {}, 0, "<a />\n"},
        {"attribute and child", [](XML& a) { a["x"] = "1"; a.append("b"); }, 0,
         "<a x=\"1\">\n    <b />\n</a>\n"},
        {"attributes by name, last value kept",
         [](XML& a) { a["y"] = "2"; a["x"] = "0"; a["x"] = "1"; a["Z"] = "3"; }, 0,
         "<a Z=\"3\" x=\"1\" y=\"2\" />\n"},
        {"text node hides the rest",
         [](XML& a) { a["x"] = "1"; a.append("ignored"); a.setText("hello"); }, 1, "    hello\n"},
        {"nesting and order",
         [](XML& a) {
             XML* b = a.append("b");
             b->append("c")->setText("text");
             (*b->append("d"))["k"] = "v";
             a.append("e");
         },
         1,
         "    <a>\n        <b>\n            text\n            <d k=\"v\" />\n        </b>\n"
         "        <e />\n    </a>\n"},
        {"values verbatim", [](XML& a) { a["q"] = "<&>"; }, 0, "<a q=\"<&>\" />\n"},
        {"negative depth unindented", [](XML& a) { a.append("b"); }, -2, "<a>\n<b />\n</a>\n"},
    };
    for (const Case& c : cases) {
        XML root("a", nullptr);
        c.build(root);
        EXPECT_EQ(written([&](FILE* f) { root.exportXML(f, c.depth); }), c.expected) << c.name;
    }
}

TEST(XMLTree, AppendedPointersStayValid) {
    XML root("root", nullptr);
    XML* first = root.append("first");
    XML* grandchild = first->append("grandchild");
    for (int i = 0; i < 1000; ++i) root.append("more")->append("deeper");
    grandchild->setText("alive");
    EXPECT_EQ(first->parent, &root);
    EXPECT_EQ(grandchild->parent, first);
    EXPECT_EQ(root.children.back().children.front().parent, &root.children.back());
    EXPECT_EQ(root.children.front().children.front().text, "alive");
}
