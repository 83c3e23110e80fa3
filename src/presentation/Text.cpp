#include "presentation/Text.h"

#include <utility>

#include "presentation/Format.h"

namespace Orvane {

namespace {

const float initialFontSize = 16;

const char* alignmentWord(int alignment) {
    static const char* const formatting[] = {"left", "center", "right"};
    return alignment >= 0 && alignment <= 2 ? formatting[alignment] : formatting[0];
}

}  // namespace

Text::Text(std::string text)
    : text(std::move(text)), alignment(0), lineSpacing(0), fontSize(initialFontSize) {
    size[0] = 100;
    size[1] = 100;
}

void Text::exportXML(FILE* file, int index) {
    const float* t = transformation;
    if (!Format::writable({t[0], t[1], t[2], t[3], position[0], position[1], size[0], size[1],
                           fontSize, lineSpacing, fontColor[0], fontColor[1], fontColor[2],
                           fontColor[3]})) {
        return;
    }
    std::string element("<textbox id=\"textbox-");
    Format::integer(element, index);
    element.append("\" grow-horizontally=\"true\" transformation=\"");
    Format::numbers(element, {t[0], t[1], t[2], t[3], position[0], position[1]});
    element.append("\" size=\"");
    Format::numbers(element, {size[0], size[1]});
    element.append("\">\n<content tab-stops=\"L 84\" font-size=\"");
    Format::number(element, fontSize);
    element.append("\" font-name=\"");
    Format::attribute(element, fontName);
    element.append("\" paragraph-line-spacing=\"");
    Format::number(element, lineSpacing);
    element.append("\" paragraph-alignment=\"");
    element.append(alignmentWord(alignment));
    element.append("\" font-color=\"");
    Format::numbers(element, {fontColor[0], fontColor[1], fontColor[2], fontColor[3]});
    element.append("\">\n");
    Format::characterData(element, text);
    element.append("\n</content>\n</textbox>\n");
    std::fwrite(element.data(), 1, element.size(), file);
}

}  // namespace Orvane
