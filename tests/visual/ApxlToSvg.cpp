#include "visual/ApxlToSvg.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace Visual {

namespace {

// A drawable's transformation a, b, c, d, tx, ty: it maps (x, y) to
// (a x + c y + tx, b x + d y + ty).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

// An APXL colour "r g b a" (0 to 1) as an SVG colour and its opacity.
struct Colour {
    std::string rgb;
    double alpha = 1;
};

bool named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* childNamed(const xmlNode* parent, const char* name) {
    for (const xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (named(child, name)) return child;
    }
    return nullptr;
}

const xmlNode* descendant(const xmlNode* node, std::initializer_list<const char*> names) {
    for (const char* name : names) node = childNamed(node, name);
    return node;
}

std::string content(const xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string text(value ? reinterpret_cast<const char*>(value) : "");
    xmlFree(value);
    return text;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string paintAttributes(const char* paint, const Colour& value) {
    std::string out = std::string(" ") + paint + "=\"" + value.rgb + "\"";
    if (value.alpha != 1) out += std::string(" ") + paint + "-opacity=\"" + number(value.alpha) + "\"";
    return out;
}

// Reads one finite number at `position` and moves past it; the writer never
// writes "nan" or "inf", so either is as unreadable as a letter.
bool readNumber(const char*& position, double& value) {
    char* end = nullptr;
    value = std::strtod(position, &end);
    if (end == position || !std::isfinite(value)) return false;
    position = end;
    return true;
}

void appendPoint(std::string& out, const Affine& t, double x, double y) {
    out += number(t.a * x + t.c * y + t.tx) + " " + number(t.b * x + t.d * y + t.ty);
}

// Reads the slide of one document. Anything malformed ends the conversion:
// the round trip exists to notice a broken document, not to paper over it.
// The first fault is kept; readers go on with neutral values and the result
// is dropped.
class SlideReader {
public:
    std::string error;

    std::string slideToSvg(const xmlNode* presentation) {
        const xmlNode* theme = required(childNamed(presentation, "theme"), "<theme>");
        std::vector<double> size = numbers(attribute(theme, "slide-size"), 2);
        const xmlNode* drawables =
            required(descendant(presentation, {"slide-list", "slide", "drawables"}), "slide <drawables>");
        if (!error.empty()) return "";

        std::string width = number(size[0]), height = number(size[1]);
        std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" +
                          height + "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
        int index = 0;
        for (const xmlNode* drawable = drawables->children; drawable; drawable = drawable->next, ++index) {
            if (named(drawable, "shape") || named(drawable, "line")) {
                svg += pathElement(drawable, index);
            } else if (named(drawable, "textbox")) {
                svg += textElement(drawable);
            } else if (named(drawable, "image")) {
                svg += imageElement(drawable);
            }
            // The slide's hidden title and body placeholders draw nothing.
        }
        return svg + "</svg>\n";
    }

private:
    void fail(const std::string& message) {
        if (error.empty()) error = message;
    }

    const xmlNode* required(const xmlNode* node, const char* what) {
        if (node == nullptr) fail(std::string("no ") + what);
        return node;
    }

    std::string attribute(const xmlNode* node, const char* name) {
        xmlChar* value = node ? xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)) : nullptr;
        if (value == nullptr) {
            fail(std::string("missing attribute ") + name);
            return "";
        }
        std::string text(reinterpret_cast<const char*>(value));
        xmlFree(value);
        return text;
    }

    // The numbers of an attribute such as "1 0 0 1 10 20": exactly `count`.
    std::vector<double> numbers(const std::string& text, std::size_t count) {
        std::vector<double> values;
        const char* position = text.c_str();
        for (;;) {
            while (std::isspace(static_cast<unsigned char>(*position))) ++position;
            double value;
            if (*position == '\0' || !readNumber(position, value)) break;
            values.push_back(value);
        }
        if (values.size() != count || *position != '\0') {
            fail("expected " + std::to_string(count) + " numbers in \"" + text + "\"");
            values.assign(count, 0);
        }
        return values;
    }

    Colour colour(const std::string& text) {
        std::vector<double> rgba = numbers(text, 4);
        std::string rgb = "rgb(";
        for (int i = 0; i < 3; ++i) {
            long channel = std::lround(std::clamp(rgba[i], 0.0, 1.0) * 255);
            rgb += std::to_string(channel) + (i < 2 ? "," : ")");
        }
        return {rgb, rgba[3]};
    }

    Affine transformation(const xmlNode* drawable) {
        std::vector<double> t = numbers(attribute(drawable, "transformation"), 6);
        return {t[0], t[1], t[2], t[3], t[4], t[5]};
    }

    // Path data written in the drawable's 0 to 100 box, mapped onto the
    // slide. The writer uses only absolute commands whose arguments are
    // coordinate pairs (M, L, C, Z), so every two numbers are one point.
    std::string slidePathData(const std::string& boxData, const Affine& t) {
        std::string out;
        std::vector<double> pending;
        const char* position = boxData.c_str();
        while (*position) {
            if (std::isspace(static_cast<unsigned char>(*position))) {
                ++position;
                continue;
            }
            if (std::strchr("MLCZ", *position)) {
                if (!pending.empty()) break;
                if (!out.empty()) out += ' ';
                out += *position++;
                continue;
            }
            double value;
            if (!readNumber(position, value)) break;
            pending.push_back(value);
            if (pending.size() == 2) {
                out += ' ';
                appendPoint(out, t, pending[0], pending[1]);
                pending.clear();
            }
        }
        if (*position != '\0' || !pending.empty()) fail("unreadable path data \"" + boxData + "\"");
        return out;
    }

    // The fill: attributes for the path and, for a gradient, the element they
    // refer to, written before the path. The gradient angle is taken
    // counter-clockwise from the x axis, across the shape's bounding box.
    std::string fillAttributes(const xmlNode* fillStyle, int index, std::string& definition) {
        std::string type = attribute(fillStyle, "fill-type");
        if (type == "none") return " fill=\"none\"";
        if (type == "color") return paintAttributes("fill", colour(attribute(fillStyle, "fill-color")));
        if (type != "gradient") {
            fail("unknown fill-type \"" + type + "\"");
            return "";
        }
        const xmlNode* gradient = required(childNamed(fillStyle, "gradient"), "<gradient>");
        Colour start = colour(attribute(gradient, "start-color"));
        Colour end = colour(attribute(gradient, "end-color"));
        double angle = numbers(attribute(gradient, "gradient-angle"), 1)[0] * M_PI / 180;
        double dx = std::cos(angle) / 2, dy = -std::sin(angle) / 2;
        std::string id = "gradient" + std::to_string(index);
        definition = "<linearGradient id=\"" + id + "\" x1=\"" + number(0.5 - dx) + "\" y1=\"" +
                     number(0.5 - dy) + "\" x2=\"" + number(0.5 + dx) + "\" y2=\"" + number(0.5 + dy) +
                     "\"><stop offset=\"0\" stop-color=\"" + start.rgb + "\" stop-opacity=\"" +
                     number(start.alpha) + "\"/><stop offset=\"1\" stop-color=\"" + end.rgb +
                     "\" stop-opacity=\"" + number(end.alpha) + "\"/></linearGradient>\n";
        return " fill=\"url(#" + id + ")\"";
    }

    // The stroke: colour and width stand on the drawable, whether and how it
    // is dashed in its dash style ("none": no stroke at all).
    std::string strokeAttributes(const xmlNode* drawable, const xmlNode* dashStyle) {
        std::string pattern = attribute(dashStyle, "pattern");
        if (pattern == "none") return "";
        std::string out = paintAttributes("stroke", colour(attribute(drawable, "stroke-color")));
        out += " stroke-width=\"" + number(numbers(attribute(drawable, "stroke-width"), 1)[0]) + "\"";
        if (pattern != "solid") out += " stroke-dasharray=\"" + escaped(pattern) + "\"";
        return out;
    }

    const xmlNode* style(const xmlNode* drawable, const char* name) {
        return required(descendant(drawable, {"styles", name}), name);
    }

    std::string pathElement(const xmlNode* drawable, int index) {
        Affine t = transformation(drawable);
        std::string data;
        if (named(drawable, "line")) {
            std::vector<double> head = numbers(attribute(drawable, "head"), 2);
            std::vector<double> tail = numbers(attribute(drawable, "tail"), 2);
            data = "M ";
            appendPoint(data, t, head[0], head[1]);
            data += " L ";
            appendPoint(data, t, tail[0], tail[1]);
        } else {
            data = slidePathData(attribute(drawable, "path"), t);
        }
        std::string definition;
        std::string fill = fillAttributes(style(drawable, "fill-style"), index, definition);
        std::string stroke = strokeAttributes(drawable, style(drawable, "dash-style"));
        return definition + "<path d=\"" + data + "\"" + fill + stroke + "/>\n";
    }

    // A text box's position is its top-left corner; the first baseline sits
    // about one font size below it.
    // The image file beside the document, referred to by its name: the
    // drawing is read from the bundle folder. Its pixels span its natural
    // size, which the transformation maps onto the slide.
    std::string imageElement(const xmlNode* image) {
        const Affine t = transformation(image);
        const std::vector<double> size = numbers(attribute(image, "natural-size"), 2);
        std::string out = "<image href=\"" + escaped(attribute(image, "image-data")) + "\" width=\"" +
                          number(size[0]) + "\" height=\"" + number(size[1]) +
                          "\" preserveAspectRatio=\"none\" transform=\"matrix(" + number(t.a) + " " + number(t.b) +
                          " " + number(t.c) + " " + number(t.d) + " " + number(t.tx) + " " + number(t.ty) + ")\"";
        xmlChar* opacity = xmlGetProp(image, reinterpret_cast<const xmlChar*>("opacity"));
        if (opacity != nullptr) out += std::string(" opacity=\"") + reinterpret_cast<const char*>(opacity) + "\"";
        xmlFree(opacity);
        return out + "/>\n";
    }

    std::string textElement(const xmlNode* textbox) {
        Affine t = transformation(textbox);
        const xmlNode* body = required(childNamed(textbox, "content"), "<content>");
        double fontSize = numbers(attribute(body, "font-size"), 1)[0];
        double width = numbers(attribute(textbox, "size"), 2)[0];
        std::string alignment = attribute(body, "paragraph-alignment");
        double x = alignment == "center" ? width / 2 : alignment == "right" ? width : 0;
        std::string anchor = alignment == "center"  ? " text-anchor=\"middle\""
                             : alignment == "right" ? " text-anchor=\"end\""
                                                    : "";
        return "<text transform=\"matrix(" + number(t.a) + " " + number(t.b) + " " + number(t.c) + " " +
               number(t.d) + " " + number(t.tx) + " " + number(t.ty) + ")\" x=\"" + number(x) +
               "\" y=\"" + number(fontSize) + "\" font-family=\"" + escaped(attribute(body, "font-name")) +
               "\" font-size=\"" + number(fontSize) + "\"" + anchor + ">" + escaped(content(body)) +
               "</text>\n";
    }
};

}  // namespace

bool apxlToSvg(const std::string& apxl, std::string& svg, std::string& error) {
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        xmlReadMemory(apxl.data(), static_cast<int>(apxl.size()), "presentation.apxl", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    if (!document) {
        error = "not well-formed XML";
        return false;
    }
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root == nullptr || !named(root, "presentation")) {
        error = "no <presentation> root";
        return false;
    }
    SlideReader reader;
    std::string result = reader.slideToSvg(root);
    if (!reader.error.empty()) {
        error = reader.error;
        return false;
    }
    svg = result;
    return true;
}

}  // namespace Visual
