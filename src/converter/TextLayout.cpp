#include "converter/TextLayout.h"

#include <cmath>

#include "converter/ValueScanner.h"
#include "presentation/Text.h"

namespace Pictavo {

namespace {

// The reader's default text insets, 0.25 cm and 0.125 cm in points.
const float horizontalInset = 7.0866f;
const float verticalInset = 3.5433f;

// Room beyond the measured advance, for the reader's rounding (a box that
// fits the advance exactly still wraps; 0.6 points more sufficed at 20
// points) and a fallback font that sets a character wider: a box too narrow
// wraps, one a little too wide changes nothing, since the alignment keeps
// the text at its anchor. In font sizes and in points.
const float advanceSlack = 0.1f;
const float widthSlack = 1;

// The reader takes a box's width in whole points, dropping the fraction,
// which would move right-aligned and centred text left; a width it reads
// unchanged keeps the text on its anchor.
float readerWidth(float width) { return std::ceil(width); }

}  // namespace

void CollapsedText::append(std::string_view data, bool preserve) {
    for (char c : data) {
        const bool lineBreak = c == '\n' || c == '\r';
        if (lineBreak && !preserve) continue;
        if (isSpaceCharacter(c)) {
            if (preserve) {
                content += ' ';
                endsCollapsible = false;
            } else if (!content.empty() && content.back() != ' ') {
                content += ' ';
                endsCollapsible = true;
            }
            continue;
        }
        content += c;
        endsCollapsible = false;
        hasVisible = true;
    }
}

std::string_view CollapsedText::text() const {
    std::string_view text(content);
    if (endsCollapsible) text.remove_suffix(1);
    return text;
}

void CollapsedText::clear() {
    content.clear();
    endsCollapsible = false;
    hasVisible = false;
}

void placeTextBox(Orvane::Text& box, float x, float y, TextAnchor anchor, const TextExtent& extent) {
    const float size = box.fontSize;
    const float width =
        readerWidth((extent.advance + advanceSlack) * size + widthSlack + 2 * horizontalInset);
    const float height = (extent.ascent + extent.descent) * size + 2 * verticalInset;
    float left = x - horizontalInset;
    if (anchor == TextAnchor::Middle) left = x - width / 2;
    if (anchor == TextAnchor::End) left = x + horizontalInset - width;
    box.alignment = static_cast<int>(anchor);  // left, center, right
    box.size[0] = width;
    box.size[1] = height;
    box.setPosition(left, y - verticalInset - extent.ascent * size);
}

}  // namespace Pictavo
