#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "presentation/Written.h"
#include "presentation/XML.h"

using Orvane::XML;

TEST(XMLExport, WritesIndentedTree) {
    struct Case {
        std::function<void(XML&)> build;
        int depth;
        std::string expected;
    } cases[] = {
        {[](XML&) {}, 0, "<a />\n"},
        {[](XML& a) { a["x"] = "1"; a.append("ignored"); a.setText("hello"); }, 1, "    hello\n"},
        {[](XML& a) {
             a["y"] = "<&>";
             a["x"] = "0";
             a["x"] = "1";
             XML* b = a.append("b");
             b->append("c")->setText("text");
             (*b->append("d"))["k"] = "v";
             a.append("e");
         },
         1,
         "    <a x=\"1\" y=\"<&>\">\n        <b>\n            text\n            <d k=\"v\" />\n"
         "        </b>\n        <e />\n    </a>\n"},
    };
    for (const Case& c : cases) {
        XML root("a", nullptr);
        c.build(root);
        EXPECT_EQ(written([&](FILE* f) { root.exportXML(f, c.depth); }), c.expected);
    }
}

TEST(XMLTree, AppendedPointersStayValid) {
    XML root("root", nullptr);
    XML* first = root.append("first");
    XML* grandchild = first->append("grandchild");
    for (int i = 0; i < 1000; ++i) root.append("more")->append("deeper");
    grandchild->setText("alive");
    EXPECT_EQ(first, &root.children.front());
    EXPECT_EQ(grandchild->parent, first);
    EXPECT_EQ(root.children.front().children.front().text, "alive");
    EXPECT_EQ(root.children[500].children.front().parent, &root.children[500]);
}
