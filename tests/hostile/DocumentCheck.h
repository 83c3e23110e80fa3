#pragma once

// Checks a produced presentation document as its reader would meet it. Shared
// by the program-level tests and the fuzzing harness, so it must not depend on
// the test framework.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <memory>
#include <string>

namespace DocumentCheck {

inline std::string text(const xmlChar* value) {
    return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
}

// A number that is not finite, in any spelling the C library prints.
inline bool looksNonFinite(std::string value) {
    for (char& c : value) c = static_cast<char>(c | 0x20);
    return value.find("nan") != std::string::npos || value.find("inf") != std::string::npos;
}

// What is wrong with a produced document, or the empty text when nothing is:
// it must parse as XML (never reaching the network, entities kept as they
// are), be a presentation with one slide size of two positive integers, and
// hold no number that is not finite. Only font names and dash patterns come
// from the drawing's own text; every other attribute holds numbers or fixed
// words. Elements are visited without recursion: the document under test may
// be very deep or wide.
inline std::string documentFault(const std::string& xml) {
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "presentation.apxl", nullptr,
                      XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root) return "not well-formed XML";
    if (text(root->name) != "presentation") return "root element is not presentation";
    int slideSizes = 0;
    for (xmlNode* node = root; node;) {
        for (xmlAttr* property = node->type == XML_ELEMENT_NODE ? node->properties : nullptr; property;
             property = property->next) {
            const std::string name = text(property->name);
            const std::string value = property->children ? text(property->children->content) : "";
            int width = 0, height = 0;
            char rest = 0;
            slideSizes += name == "slide-size";
            if (name == "slide-size" &&
                (std::sscanf(value.c_str(), "%d %d%c", &width, &height, &rest) != 2 || width <= 0 || height <= 0))
                return "slide size is not two positive integers";
            if (name != "font-name" && name != "pattern" && looksNonFinite(value))
                return "non-finite number in " + text(node->name) + " " + name + "=\"" + value.substr(0, 200) + "\"";
        }
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node != root && !node->next) node = node->parent;
        node = node == root ? nullptr : node->next;
    }
    return slideSizes == 1 ? "" : "not one slide size";
}

}  // namespace DocumentCheck
