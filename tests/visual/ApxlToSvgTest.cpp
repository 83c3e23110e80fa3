#include "visual/ApxlToSvg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A document as the writer lays it out: the theme with the slide size and a
// master slide whose placeholders must not be drawn, then the slide's
// drawables followed by its hidden placeholders.
std::string document(const std::string& drawables, const std::string& slideSize = "640 480") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<presentation xmlns=\"http://developer.apple.com/schemas/APXL\" version=\"36\">\n"
           "<theme slide-size=\"" + slideSize + "\">\n<master-slides>\n<master-slide id=\"master-slide-1\">\n"
           "<drawables>\n<title stroke-width=\"1\" size=\"644 150\" location=\"78 16\"><styles>"
           "<fill-style fill-type=\"none\"/><dash-style pattern=\"none\"/></styles></title>\n</drawables>\n"
           "</master-slide>\n</master-slides>\n</theme>\n<slide-list>\n<slide id=\"slide-1\">\n<drawables>" +
           drawables +
           "<title visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>\n"
           "<body visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>\n"
           "</drawables>\n</slide>\n</slide-list>\n</presentation>\n";
}

std::string shape(const std::string& path, const std::string& transformation, const std::string& stroke,
                  const std::string& styles) {
    return "<shape path=\"" + path + "\" transformation=\"" + transformation + "\" " + stroke +
           ">\n<styles>\n" + styles + "</styles></shape>\n";
}

const std::string defaultStroke = "stroke-color=\"0 0 0 1\" stroke-width=\"1\"";
const std::string noDash = "<dash-style pattern=\"none\" />\n";
const std::string noFill = "<fill-style fill-type=\"none\" />\n";

std::string svg(const std::string& elements, const std::string& size = "640\" height=\"480",
                const std::string& viewBox = "640 480") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + size + "\" viewBox=\"0 0 " + viewBox +
           "\">\n" + elements + "</svg>\n";
}

TEST(ApxlToSvg, WritesEachDrawableInSlideCoordinates) {
    struct Case {
        const char* behaviour;
        std::string drawable;
        std::string expected;
    };
    const Case cases[] = {
        {"box scaled and moved, red fill",
         shape("M 0.000000 0.000000 L 100.000000 0.000000 L 100.000000 100.000000 Z",
               "1.000000 0.000000 0.000000 0.500000 10.000000 20.000000", defaultStroke,
               "<fill-style fill-type=\"color\" fill-color=\"1.000000 0.000000 0.000000 1.000000\" />\n" + noDash),
         "<path d=\"M 10 20 L 110 20 L 110 70 Z\" fill=\"rgb(255,0,0)\"/>\n"},
        {"b and c of a rotation in their places: x' = a x + c y + tx, y' = b x + d y + ty; every figure",
         shape("M 100 20 L 0 0 Z M 0 100 L 10 0", "0 1 -1 0 50 50", defaultStroke,
               "<fill-style fill-type=\"color\" fill-color=\"0 0.5 0 1\" />\n" + noDash),
         "<path d=\"M 30 150 L 50 50 Z M -50 50 L 50 60\" fill=\"rgb(0,128,0)\"/>\n"},
        {"curve keeps control1, control2, end in order; translucent solid stroke",
         shape("M 0 0 C 10 0 20 50 100 100", "2 0 0 1 0 0",
               "stroke-color=\"0 0 1 0.5\" stroke-width=\"2.5\"",
               noFill + "<dash-style pattern=\"solid\" />\n"),
         "<path d=\"M 0 0 C 20 0 40 50 200 100\" fill=\"none\" stroke=\"rgb(0,0,255)\" stroke-opacity=\"0.5\" "
         "stroke-width=\"2.5\"/>\n"},
        {"dash pattern kept and escaped again; fill opacity",
         shape("M 0 0 L 100 100", "1 0 0 1 0 0", "stroke-color=\"1 1 1 1\" stroke-width=\"1\"",
               "<fill-style fill-type=\"color\" fill-color=\"0 0 0 0.25\" />\n"
               "<dash-style pattern=\"5,3 &quot;x\" />\n"),
         "<path d=\"M 0 0 L 100 100\" fill=\"rgb(0,0,0)\" fill-opacity=\"0.25\" stroke=\"rgb(255,255,255)\" "
         "stroke-width=\"1\" stroke-dasharray=\"5,3 &quot;x\"/>\n"},
        {"line element from head to tail",
         "<line head=\"0 0\" tail=\"100 100\" transformation=\"0.1 0 0 0.2 5 5\" " + defaultStroke +
             ">\n<styles>\n" + noFill + "<dash-style pattern=\"solid\" />\n</styles></line>\n",
         "<path d=\"M 5 5 L 15 25\" fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"1\"/>\n"},
        {"gradient from start to end colour along its angle",
         shape("M 0 0 L 100 100", "1 0 0 1 0 0", defaultStroke,
               "<fill-style fill-type=\"gradient\"><gradient start-color=\"1 0 0 1\" end-color=\"0 0 1 0.5\" "
               "gradient-angle=\"90\" /></fill-style>\n" + noDash),
         "<linearGradient id=\"gradient0\" x1=\"0.5\" y1=\"1\" x2=\"0.5\" y2=\"0\"><stop offset=\"0\" "
         "stop-color=\"rgb(255,0,0)\" stop-opacity=\"1\"/><stop offset=\"1\" stop-color=\"rgb(0,0,255)\" "
         "stop-opacity=\"0.5\"/></linearGradient>\n"
         "<path d=\"M 0 0 L 100 100\" fill=\"url(#gradient0)\"/>\n"},
        {"text box at its corner, first baseline one font size down, text escaped, CDATA joined",
         "<textbox id=\"textbox-0\" grow-horizontally=\"true\" transformation=\"1 0 0 1 100 50\" "
         "size=\"100 100\">\n<content tab-stops=\"L 84\" font-size=\"24\" font-name=\"A&amp;B\" "
         "paragraph-line-spacing=\"0\" paragraph-alignment=\"left\">\n<![CDATA[x<]]]]><![CDATA[>y]]>\n"
         "</content>\n</textbox>\n",
         "<text transform=\"matrix(1 0 0 1 100 50)\" x=\"0\" y=\"24\" font-family=\"A&amp;B\" "
         "font-size=\"24\">\nx&lt;]]&gt;y\n</text>\n"},
        {"centred text anchored in the middle of its box",
         "<textbox transformation=\"1 0 0 1 0 0\" size=\"100 100\"><content font-size=\"10\" font-name=\"F\" "
         "paragraph-alignment=\"center\"><![CDATA[t]]></content></textbox>",
         "<text transform=\"matrix(1 0 0 1 0 0)\" x=\"50\" y=\"10\" font-family=\"F\" font-size=\"10\" "
         "text-anchor=\"middle\">t</text>\n"},
        {"image's pixels mapped by its transformation, its file by name",
         "<image display-name=\"i\" image-data=\"image-1.png\" natural-size=\"40 20\" "
         "transformation=\"2 0.5 -0.5 2 10 20\" opacity=\"0.5\" byte-size=\"9\"/>\n",
         "<image href=\"image-1.png\" width=\"40\" height=\"20\" preserveAspectRatio=\"none\" "
         "transform=\"matrix(2 0.5 -0.5 2 10 20)\" opacity=\"0.5\"/>\n"},
    };
    for (const Case& c : cases) {
        std::string out, error;
        EXPECT_TRUE(Visual::apxlToSvg(document(c.drawable), out, error)) << c.behaviour << ": " << error;
        EXPECT_EQ(out, svg(c.expected)) << c.behaviour;
    }
}

TEST(ApxlToSvg, SlideSizeAndEmptySlide) {
    std::string out, error;
    EXPECT_TRUE(Visual::apxlToSvg(document("", "24 16"), out, error)) << error;
    EXPECT_EQ(out, svg("", "24\" height=\"16", "24 16"));
}

TEST(ApxlToSvg, RefusesMalformedDocuments) {
    auto styled = [](const std::string& path, const std::string& fill) {
        return document(shape(path, "1 0 0 1 0 0", defaultStroke, fill + noDash));
    };
    const std::pair<std::string, std::string> cases[] = {  // the document and the reason given
        {"<presentation><theme", "not well-formed XML"},
        {"<presentation><slide-list/></presentation>", "no <theme>"},
        {document("", "640"), "expected 2 numbers in \"640\""},
        {styled("M 0 0 L 1", noFill), "unreadable path data \"M 0 0 L 1\""},
        {styled("M nan 0 L 1 1", noFill), "unreadable path data \"M nan 0 L 1 1\""},
        {styled("M 0 0 L 1 1", "<fill-style fill-type=\"image\" />\n"), "unknown fill-type \"image\""},
        {document("<shape transformation=\"1 0 0 1 0 0\"><styles>" + noFill + noDash + "</styles></shape>"),
         "missing attribute path"},
    };
    for (const auto& [apxl, reason] : cases) {
        std::string out = "untouched", error;
        EXPECT_FALSE(Visual::apxlToSvg(apxl, out, error)) << reason;
        EXPECT_EQ(error, reason);
        EXPECT_EQ(out, "untouched") << reason;
    }
}

}  // namespace
