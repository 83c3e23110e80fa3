#pragma once

// Checks a produced presentation document as its reader would meet it. Shared
// by the program-level tests and the fuzzing harness, so it must not depend on
// the test framework.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace DocumentCheck {

inline std::string text(const xmlChar* value) {
    return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
}

inline bool named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// Calls `visit` for `top` and every element below it, without recursion: the
// document under test may be very deep or wide.
template <typename Visit>
void forEachElement(xmlNode* top, Visit visit) {
    for (xmlNode* node = top; node;) {
        if (node->type == XML_ELEMENT_NODE) visit(node);
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node != top && !node->next) node = node->parent;
        node = node == top ? nullptr : node->next;
    }
}

// A parsed presentation document. Parsing never reaches the network and keeps
// entities as they are, so nothing outside the text itself is read.
class Document {
public:
    explicit Document(const std::string& xml)
        : doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "presentation.apxl", nullptr,
                            XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
              xmlFreeDoc) {}

    xmlNode* root() const { return doc ? xmlDocGetRootElement(doc.get()) : nullptr; }

    // The drawables of the slide (not those of the master slide), without
    // the fixed title and body placeholders that close them.
    std::vector<xmlNode*> drawables() const {
        std::vector<xmlNode*> found;
        forEachElement(root(), [&](xmlNode* node) {
            if (!named(node, "drawables") || !named(node->parent, "slide")) return;
            for (xmlNode* drawable = node->children; drawable; drawable = drawable->next)
                if (named(drawable, "shape") || named(drawable, "line") || named(drawable, "textbox"))
                    found.push_back(drawable);
        });
        return found;
    }

    // Every value for `name` in `element` elements, in order: in the whole
    // document, or in the slide's drawables only.
    std::vector<std::string> attributeValues(const char* element, const char* name) const {
        return valuesBelow({root()}, element, name);
    }
    std::vector<std::string> drawableValues(const char* element, const char* name) const {
        return valuesBelow(drawables(), element, name);
    }

    // The text of each text box: its character-data sections joined.
    std::vector<std::string> texts() const {
        std::vector<std::string> values;
        for (xmlNode* box : drawables())
            for (xmlNode* content = box->children; content; content = content->next)
                if (named(content, "content")) {
                    values.emplace_back();
                    for (xmlNode* data = content->children; data; data = data->next)
                        if (data->type == XML_CDATA_SECTION_NODE) values.back() += text(data->content);
                }
        return values;
    }

private:
    static std::vector<std::string> valuesBelow(const std::vector<xmlNode*>& tops, const char* element,
                                                const char* name) {
        std::vector<std::string> values;
        for (xmlNode* top : tops)
            forEachElement(top, [&](xmlNode* node) {
                if (!named(node, element)) return;
                xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
                values.push_back(text(value));
                xmlFree(value);
            });
        return values;
    }

    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc;
};

// A number that is not finite, in any spelling the C library prints.
inline bool looksNonFinite(std::string value) {
    for (char& c : value) c = static_cast<char>(c | 0x20);
    return value.find("nan") != std::string::npos || value.find("inf") != std::string::npos;
}

// What is wrong with a produced document, or the empty text when nothing is:
// it must parse as XML, be a whole presentation with a positive slide size,
// and hold no number that is not finite. Only font names and dash patterns
// come from the drawing's own text; every other attribute holds numbers or
// fixed words.
inline std::string documentFault(const std::string& xml) {
    Document document(xml);
    if (!document.root()) return "not well-formed XML";
    if (!named(document.root(), "presentation")) return "root element is not presentation";
    const std::vector<std::string> sizes = document.attributeValues("theme", "slide-size");
    int width = 0, height = 0;
    char rest = 0;
    if (sizes.size() != 1 || std::sscanf(sizes[0].c_str(), "%d %d%c", &width, &height, &rest) != 2 ||
        width <= 0 || height <= 0)
        return "slide size is not two positive integers";
    std::string fault;
    forEachElement(document.root(), [&](xmlNode* node) {
        for (xmlAttr* property = node->properties; property && fault.empty(); property = property->next) {
            const std::string name = text(property->name);
            const std::string value = property->children ? text(property->children->content) : "";
            if (name != "font-name" && name != "pattern" && looksNonFinite(value))
                fault = "non-finite number in " + text(node->name) + " " + name + "=\"" + value.substr(0, 200) + "\"";
        }
    });
    return fault;
}

}  // namespace DocumentCheck
