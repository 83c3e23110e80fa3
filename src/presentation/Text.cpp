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

void Text::write(std::string& document, int index) const {
    if (!placementWritable() ||
        !Format::writable({size[0], size[1], fontSize, lineSpacing, fontColor[0], fontColor[1],
                           fontColor[2], fontColor[3]})) {
        return;
    }
    document.append("<textbox id=\"textbox-");
    Format::integer(document, index);
    document.append("\" grow-horizontally=\"true\" transformation=\"");
    appendPlacement(document);
    document.append("\" size=\"");
    Format::numbers(document, {size[0], size[1]});
    document.append("\">\n<content tab-stops=\"L 84\" font-size=\"");
    Format::number(document, fontSize);
    document.append("\" font-name=\"");
    Format::attribute(document, fontName);
    document.append("\" paragraph-line-spacing=\"");
    Format::number(document, lineSpacing);
    document.append("\" paragraph-alignment=\"");
    document.append(alignmentWord(alignment));
    document.append("\" font-color=\"");
    Format::numbers(document, {fontColor[0], fontColor[1], fontColor[2], fontColor[3]});
    document.append("\">\n");
    Format::characterData(document, text);
    document.append("\n</content>\n</textbox>\n");
}

}  // namespace Orvane
