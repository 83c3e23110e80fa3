#include "e2e/ProgramRun.h"

using namespace e2e;

// Text, font names and dash patterns come back to a reader of the document as
// the drawing wrote them, whatever markup they hold.
TEST(Escaping, InputTextComesBackAsWritten) {
    struct Case {
        const char* element;  // with @ where the written value goes
        const char* valueElement;
        const char* valueAttribute;  // empty: the text box's text
        const char* written;
        const char* read;
    } cases[] = {
        {"<text>@</text>", "", "", "a]]&gt;b", "a]]>b"},
        {"<text>@</text>", "", "", "]]]]&gt;&gt;", "]]]]>>"},
        {"<text>@</text>", "", "", "x]]&gt;]]&gt;y", "x]]>]]>y"},
        {"<text>@</text>", "", "", "a]]", "a]]"},
        {"<text>@</text>", "", "", "&lt;b&gt; &amp; &quot;q&quot; 'a'", "<b> & \"q\" 'a'"},
        {"<text>@</text>", "", "", "<![CDATA[<tag attr=\"v\">&amp; ]]]]>", "<tag attr=\"v\">&amp; ]]"},
        {"<text font-family=\"@\">a</text>", "content", "font-name", "&quot;Gill Sans&quot;, serif",
         "\"Gill Sans\", serif"},
        {"<text font-family=\"@\">a</text>", "content", "font-name", "&quot;&gt;&lt;/content&gt;&lt;x a=&quot;]]&gt;",
         "\"></content><x a=\"]]>"},
        {"<line x2=\"5\" y2=\"5\" stroke=\"red\" stroke-dasharray=\"@\"/>", "dash-style", "pattern",
         "5,&quot;3&quot;", "5,\"3\""},
        {"<line x2=\"5\" y2=\"5\" stroke=\"red\" stroke-dasharray=\"@\"/>", "dash-style", "pattern",
         "1 &quot; /&gt;&lt;x y=&amp;]]&gt;", "1 \" /><x y=&]]>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::string body = c.element;
        body.replace(body.find('@'), 1, c.written);
        const DocumentCheck::Document document(converted(drawing(body)));
        EXPECT_EQ(*c.valueAttribute ? document.drawableValues(c.valueElement, c.valueAttribute) : document.texts(),
                  std::vector<std::string>{c.read});
    }
}
