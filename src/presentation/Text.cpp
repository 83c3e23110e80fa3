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
                           fontSize, lineSpacing})) {
        return;
    }
    std::fputs("<textbox id=\"textbox-", file);
    Format::integer(file, index);
    std::fputs("\" grow-horizontally=\"true\" transformation=\"", file);
    Format::numbers(file, {t[0], t[1], t[2], t[3], position[0], position[1]});
    std::fputs("\" size=\"", file);
    Format::numbers(file, {size[0], size[1]});
    std::fputs("\">\n<content tab-stops=\"L 84\" font-size=\"", file);
    Format::number(file, fontSize);
    std::fputs("\" font-name=\"", file);
    Format::attribute(file, fontName);
    std::fputs("\" paragraph-line-spacing=\"", file);
    Format::number(file, lineSpacing);
    std::fputs("\" paragraph-alignment=\"", file);
    std::fputs(alignmentWord(alignment), file);
    std::fputs("\">\n", file);
    Format::characterData(file, text);
    std::fputs("\n</content>\n</textbox>\n", file);
}

}  // namespace Orvane
