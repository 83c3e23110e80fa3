#include <memory>
#include <string>

#include "converter/Drawing.h"
#include "converter/ElementValues.h"
#include "converter/Svg.h"
#include "presentation/Text.h"

namespace Pictavo {

// Only the first child is taken, and only when it is character data; the box
// is placed by the mapped anchor and never rotated, and its font size follows
// the drawing's scale.
void Drawing::drawText(const Frame& frame) {
    const Element& element = *frame.element;
    const Element* first = element.firstChild;
    if (!frame.style.visible || first == nullptr || first->name != Name::CharacterData) return;
    std::string content(first->data);
    auto box = std::make_unique<Orvane::Text>(SVG::trim(content.data()));
    box->fontName = std::string(frame.style.fontFamily);
    box->fontSize = frame.style.fontSize * sizeScale(frame.ctm);
    const float x = attributeNumber(element, Name::X);
    const float y = attributeNumber(element, Name::Y);
    const float* m = frame.ctm.m;
    box->setPosition((m[0] * x + m[1] * y) + m[2], (m[3] * x + m[4] * y) + m[5]);
    svg.slide.add(std::move(box));
}

}  // namespace Pictavo
