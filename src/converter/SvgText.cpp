#include <memory>
#include <string>
#include <utility>

#include "converter/ElementValues.h"
#include "converter/Svg.h"
#include "presentation/Text.h"

namespace Pictavo {

namespace {

// SVG's initial font size, for text that names none.
const float defaultFontSize = 16;

bool isCharacterData(const xmlNode* node) {
    return node != nullptr && (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE);
}

std::string trimmedContent(const xmlNode* node) {
    std::string content(node->content != nullptr ? reinterpret_cast<const char*>(node->content) : "");
    return SVG::trim(content.data());
}

}  // namespace

// Only the first child is taken, and only when it is character data; the box
// is placed by the mapped anchor and never rotated, and its font size follows
// the drawing's scale.
int SVG::convertText(xmlNode* node, AttributeMap& attributes, Matrix& ctm) {
    const xmlNode* first = node->children;
    if (!isCharacterData(first)) return 1;

    auto box = std::make_unique<Orvane::Text>(trimmedContent(first));
    auto family = attributes.find("font-family");
    if (family != attributes.end()) box->fontName = family->second;
    box->fontSize = attributeNumber(attributes, "font-size", defaultFontSize) * sizeScale(ctm);

    float x = attributeNumber(attributes, "x");
    float y = attributeNumber(attributes, "y");
    const float* m = ctm.m;
    box->setPosition((m[0] * x + m[1] * y) + m[2], (m[3] * x + m[4] * y) + m[5]);
    slide.add(std::move(box));
    return 0;
}

}  // namespace Pictavo
