#include <gtest/gtest.h>

#include <string>

#include "presentation/Written.h"
#include "presentation/XML.h"

using Orvane::XML;

// Attributes in name order, a later value replacing an earlier one; an
// element with text writes only the text.
TEST(XMLExport, WritesIndentedTree) {
    XML root("a", nullptr);
    root["y"] = "<&>";
    root["x"] = "0";
    root["x"] = "1";
    XML* b = root.append("b");
    XML* c = b->append("c");
    c->setText("text");
    c->append("ignored");
    (*b->append("d"))["k"] = "v";
    root.append("e");
    EXPECT_EQ(written([&](FILE* f) { root.exportXML(f, 1); }),
              "    <a x=\"1\" y=\"<&>\">\n        <b>\n            text\n            <d k=\"v\" />\n"
              "        </b>\n        <e />\n    </a>\n");
}

TEST(XMLTree, AppendedNodesStayInPlace) {
    XML root("root", nullptr);
    XML* first = root.append("first");
    XML* grandchild = first->append("grandchild");
    for (int i = 0; i < 1000; ++i) root.append("more")->append("deeper");
    EXPECT_EQ(first, &root.children.front());
    EXPECT_EQ(grandchild, &first->children.front());
    EXPECT_EQ(root.children[500].children.front().parent, &root.children[500]);
}
