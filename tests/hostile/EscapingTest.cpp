#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

DocumentCheck::Document converted(const std::string& body) {
    Scratch scratch;
    scratch.write("in.svg", drawing(body));
    ProgramResult run = runProgram(scratch, {"in.svg"});
    return DocumentCheck::Document(expectConverted(scratch, run, "in.key"));
}

struct Case {
    const char* written;  // as the drawing writes it
    const char* read;     // what a reader of the document must get back
};

}  // namespace

TEST(Escaping, TextComesBackAsWritten) {
    Case cases[] = {
        {"a]]&gt;b", "a]]>b"},
        {"]]&gt;", "]]>"},
        {"]]]]&gt;&gt;", "]]]]>>"},
        {"x]]&gt;]]&gt;y", "x]]>]]>y"},
        {"a]", "a]"},
        {"a]]", "a]]"},
        {"&lt;b&gt; &amp; &quot;q&quot; 'a'", "<b> & \"q\" 'a'"},
        {"<![CDATA[<tag attr=\"v\">&amp; ]]]]>", "<tag attr=\"v\">&amp; ]]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(converted(std::string("<text>") + c.written + "</text>").texts(),
                  std::vector<std::string>{c.read});
    }
}

TEST(Escaping, FontNameComesBackAsWritten) {
    Case cases[] = {
        {"&quot;Gill Sans&quot;, serif", "\"Gill Sans\", serif"},
        {"'Open Sans' &lt;b&gt; &amp; co", "'Open Sans' <b> & co"},
        {"&quot;&gt;&lt;/content&gt;&lt;x a=&quot;", "\"></content><x a=\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        DocumentCheck::Document document =
            converted(std::string("<text font-family=\"") + c.written + "\">a</text>");
        EXPECT_EQ(document.drawableValues("content", "font-name"),
                  std::vector<std::string>{c.read});
    }
}

TEST(Escaping, DashPatternComesBackAsWritten) {
    Case cases[] = {
        {"5,&quot;3&quot;", "5,\"3\""},
        {"&lt;4&gt; &amp; 2", "<4> & 2"},
        {"1 &quot; /&gt;&lt;x y=&quot;", "1 \" /><x y=\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        DocumentCheck::Document document =
            converted(std::string("<line x2=\"5\" y2=\"5\" stroke=\"red\" stroke-dasharray=\"") +
                      c.written + "\"/>");
        EXPECT_EQ(document.drawableValues("dash-style", "pattern"),
                  std::vector<std::string>{c.read});
    }
}
