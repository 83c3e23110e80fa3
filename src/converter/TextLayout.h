#pragma once

#include <string>
#include <string_view>

#include "converter/Fonts.h"
#include "converter/TextMetrics.h"

namespace Orvane {
class Text;
}

namespace Pictavo {

// The characters of one text box, its white space handled as SVG handles it:
// by default line breaks are dropped, tabs become spaces and runs of spaces
// (across the elements the text is made of) become one, with none at the
// start or the end; with xml:space="preserve" line breaks and tabs become
// spaces and every space is kept.
class CollapsedText {
public:
    void append(std::string_view data, bool preserve);
    // The content, without a trailing space of collapsed white space.
    std::string_view text() const;
    // Whether a character other than a space was appended.
    bool visible() const { return hasVisible; }
    void clear();

private:
    std::string content;
    bool endsCollapsible = false;  // the last character is a space that collapses
    bool hasVisible = false;
};

// Sizes and places a text box whose font size is set, so that one line of
// text of `extent` never wraps and its first baseline starts at (x, y) in the
// reader: the reader insets the text 0.25 cm left and right and 0.125 cm
// from the top, and puts the first baseline the font's ascent below that.
// The anchor sets the box's alignment and which side of the text (x, y) is.
void placeTextBox(Orvane::Text& box, float x, float y, TextAnchor anchor, const TextExtent& extent);

}  // namespace Pictavo
