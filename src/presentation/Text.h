#pragma once

#include <string>

#include "presentation/TransformableShape.h"

namespace Orvane {

// A text box of one paragraph, placed by its top-left corner.
class Text : public TransformableShape {
public:
    std::string text;
    int alignment;  // 0 left, 1 center, 2 right
    float lineSpacing;
    std::string fontName;
    float fontSize;  // 16, the usual initial font size, until set
    float fontColor[4] = {0, 0, 0, 1};  // r g b a, 0 to 1

    explicit Text(std::string text);

    void write(std::string& document, int index) const override;
};

}  // namespace Orvane
