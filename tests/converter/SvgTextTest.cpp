#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "converter/ConvertedDrawing.h"
#include "presentation/Text.h"

namespace {

using converted::ConvertedDrawing;
using converted::svgDocument;

// The reader's insets (0.25 cm and 0.125 cm) and the ascents of the faces it
// sets Helvetica, Times and Courier in (Liberation Sans, Serif and Mono, in
// units of 2048), as measured in the reader: its first baseline lies the
// inset and the ascent below the box's top, the text starts the inset inside
// the side it is aligned to.
const float horizontalInset = 7.0866f;
const float verticalInset = 3.5433f;

float ascent(const std::string& font) {
    if (font == "Liberation Serif") return 1825 / 2048.0f;
    if (font == "Courier") return 1705 / 2048.0f;
    return 1854 / 2048.0f;  // Helvetica, Arial and the sans-serif faces
}

// A box as "[text] font size alignment r,g,b,a anchor(x,y)", the anchor being
// where the reader starts, centres or ends the first baseline.
float rounded(float value) { return std::round(value * 100) / 100 + 0.0f; }  // no -0

std::string describe(const Orvane::Text& box) {
    static const char* const alignments[] = {"left", "center", "right"};
    const float left = box.position[0], width = box.size[0];
    float x = left + horizontalInset;
    if (box.alignment == 1) x = left + width / 2;
    if (box.alignment == 2) x = left + width - horizontalInset;
    const float y = box.position[1] + verticalInset + ascent(box.fontName) * box.fontSize;
    const float* c = box.fontColor;
    char text[160];
    std::snprintf(text, sizeof text, " %g %s %g,%g,%g,%g anchor(%.2f,%.2f)", box.fontSize,
                  alignments[box.alignment], c[0], c[1], c[2], c[3], rounded(x), rounded(y));
    return "[" + box.text + "] " + box.fontName + text;
}

std::string describeBoxes(const ConvertedDrawing& drawing) {
    std::string text;
    for (const auto& drawable : drawing.slide.drawables) {
        if (auto* box = dynamic_cast<const Orvane::Text*>(drawable.get()))
            text += (text.empty() ? "" : "; ") + describe(*box);
    }
    return text;
}

}  // namespace

TEST(Text, ContentFontsAnchorsAndColours) {
    const std::pair<std::string, std::string> rows[] = {
        // Content: every piece of character data in order, white space collapsed.
        {"<text x=\"10\" y=\"20\">\n  a <tspan>b</tspan> <a><tspan> c</tspan></a>\n</text>",
         "[a b c] Helvetica 16 left 0,0,0,1 anchor(10.00,20.00)"},
        {"<text x=\"10\" y=\"20\">a<tspan display=\"none\">hidden</tspan>b<title>t</title></text>",
         "[ab] Helvetica 16 left 0,0,0,1 anchor(10.00,20.00)"},
        {"<text x=\"0\" y=\"20\" xml:space=\"preserve\">  a\n b <tspan xml:space=\"default\">  c </tspan></text>",
         "[  a  b c] Helvetica 16 left 0,0,0,1 anchor(0.00,20.00)"},
        {"<text x=\"1\" y=\"2\"> \n <tspan>  </tspan></text><text visibility=\"hidden\">a</text>"
         "<text fill=\"none\">b</text>",
         ""},
        {"<text visibility=\"hidden\" x=\"1\" y=\"2\">a<tspan visibility=\"visible\">b</tspan></text>",
         "[b] Helvetica 16 left 0,0,0,1 anchor(1.00,2.00)"},
        // A tspan placed by itself starts a box; one placed by y alone goes on
        // where the text before it ended (two Courier characters of 0.6 em).
        {"<text x=\"10\" y=\"20\" font-size=\"10\">one<tspan x=\"10\" dy=\"12\">two</tspan></text>",
         "[one] Helvetica 10 left 0,0,0,1 anchor(10.00,20.00); "
         "[two] Helvetica 10 left 0,0,0,1 anchor(10.00,32.00)"},
        {"<text x=\"10 99\" y=\"20\" dx=\"2\" font-family=\"Courier\" font-size=\"10\">ab<tspan "
         "y=\"40\">c</tspan></text>",
         "[ab] Courier 10 left 0,0,0,1 anchor(12.00,20.00); [c] Courier 10 left 0,0,0,1 anchor(24.00,40.00)"},
        {"<text x=\"10\" y=\"20\" font-family=\"Courier\" font-size=\"10\" text-anchor=\"middle\"><tspan "
         "fill=\"none\">ab</tspan><tspan y=\"40\">c</tspan></text>",
         "[c] Courier 10 center 0,0,0,1 anchor(16.00,40.00)"},
        // Fonts: the first family, unquoted, generic ones named; inherited.
        {"<text font-family=\"'Liberation Serif', serif\">a</text><text font-family=\"\">d</text>",
         "[a] Liberation Serif 16 left 0,0,0,1 anchor(0.00,0.00); [d] Helvetica 16 left 0,0,0,1 anchor(0.00,0.00)"},
        {"<g font-family=\"Arial\" font-size=\"9pt\" fill=\"#ff0000\"><g><text y=\"30\">a<tspan "
         "font-size=\"200%\" x=\"0\" y=\"60\">b</tspan></text></g></g>",
         "[a] Arial 12 left 1,0,0,1 anchor(0.00,30.00); [b] Arial 24 left 1,0,0,1 anchor(0.00,60.00)"},
        {"<g font-size=\"20\"><text y=\"20\" style=\"font: italic bold 1.5em/2 monospace\">a</text>"
         "<text y=\"20\" font-size=\"smaller\" style=\"font-size: 0.5em\">b</text></g>",
         "[a] Courier 30 left 0,0,0,1 anchor(0.00,20.00); [b] Helvetica 10 left 0,0,0,1 anchor(0.00,20.00)"},
        // Anchors: the alignment, and the box around the anchor.
        {"<g text-anchor=\"middle\"><text x=\"100\" y=\"50\">mid<tspan x=\"100\" y=\"70\" "
         "text-anchor=\"end\">end</tspan></text></g>",
         "[mid] Helvetica 16 center 0,0,0,1 anchor(100.00,50.00); "
         "[end] Helvetica 16 right 0,0,0,1 anchor(100.00,70.00)"},
        // Colours: the fill, or the stroke of outlined text; opacity in the alpha.
        {"<text fill=\"#0033ff\" opacity=\"0.5\">a</text><text fill=\"none\" stroke=\"blue\">b</text>",
         "[a] Helvetica 16 left 0,0.2,1,0.5 anchor(0.00,0.00); [b] Helvetica 16 left 0,0,1,1 anchor(0.00,0.00)"},
        // Transforms move the anchor and scale the size; the box stays upright.
        {"<g transform=\"translate(5,7) scale(2)\"><text x=\"10\" y=\"20\" font-size=\"12\">s</text></g>"
         "<text transform=\"rotate(90)\" x=\"10\" y=\"-20\" font-size=\"12\">r</text>",
         "[s] Helvetica 24 left 0,0,0,1 anchor(25.00,47.00); [r] Helvetica 12 left 0,0,0,1 anchor(20.00,10.00)"},
    };
    for (const auto& [body, expected] : rows) {
        SCOPED_TRACE(body);
        ConvertedDrawing drawing(svgDocument(body));
        ASSERT_EQ(drawing.result, 0);
        EXPECT_EQ(describeBoxes(drawing), expected);
    }
}

// The box holds the text's advance in its face (H is 1479 of 2048 units in
// Liberation Sans, the regular and the bold face) between the insets, so that
// the reader sets it on one line, and not much more.
TEST(Text, BoxFitsTheTextOnOneLine) {
    const std::pair<std::string, float> rows[] = {
        {"<text font-size=\"10\" font-weight=\"bold\" transform=\"scale(3)\">HH HH</text>",
         (4 * 1479 + 569) / 2048.0f * 30},
    };
    for (const auto& [body, advance] : rows) {
        SCOPED_TRACE(body);
        ConvertedDrawing drawing(svgDocument(body));
        ASSERT_EQ(drawing.slide.drawables.size(), 1u);
        const auto& box = dynamic_cast<const Orvane::Text&>(*drawing.slide.drawables[0]);
        EXPECT_GE(box.size[0], advance + 2 * horizontalInset + 0.5f);
        EXPECT_LE(box.size[0], advance + 2 * horizontalInset + 0.2f * box.fontSize);
    }
}

// Text on a path is set straight from where it starts on the path: its start
// offset along the first figure (a length or a share of the figure's length).
TEST(Text, TextOnAPathStartsWhereThePathDoes) {
    const std::pair<std::string, std::string> rows[] = {
        {"<path id=\"p\" d=\"M10 20 L110 20 L110 120\"/><text x=\"5\" y=\"5\">a<textPath href=\"#p\">"
         "along</textPath></text>",
         "[a] Helvetica 16 left 0,0,0,1 anchor(5.00,5.00); [along] Helvetica 16 left 0,0,0,1 anchor(10.00,20.00)"},
        {"<path id=\"p\" d=\"M10 20 L110 20 L110 120\"/><text text-anchor=\"middle\"><textPath "
         "xlink:href=\"#p\" startOffset=\"75%\">mid</textPath></text>",
         "[mid] Helvetica 16 center 0,0,0,1 anchor(110.00,70.00)"},
        {"<path id=\"c\" d=\"M0 0 C0 0 100 0 100 0\"/><text><textPath href=\"#c\" startOffset=\"40\">"
         "on</textPath></text>",
         "[on] Helvetica 16 left 0,0,0,1 anchor(40.00,0.00)"},
        {"<text x=\"5\" y=\"6\"><textPath href=\"#nowhere\">lost</textPath></text>",
         "[lost] Helvetica 16 left 0,0,0,1 anchor(5.00,6.00)"},
    };
    for (const auto& [body, expected] : rows) {
        SCOPED_TRACE(body);
        ConvertedDrawing drawing(svgDocument(body, "xmlns:xlink=\"http://www.w3.org/1999/xlink\""));
        EXPECT_EQ(describeBoxes(drawing), expected);
        EXPECT_EQ(drawing.approximated, "1 text on a path (set on a straight line)");
    }
}
