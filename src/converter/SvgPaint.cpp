#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "converter/Drawing.h"
#include "converter/ElementValues.h"
#include "converter/Lengths.h"
#include "converter/Svg.h"
#include "presentation/Path.h"

namespace Pictavo {

namespace {

// strtol stops at the first character that is no hexadecimal digit; the
// digits read before it still make the colour, so "#ff00zz" is green. "#rgb"
// is shorthand for "#rrggbb": every digit stands for itself twice.
Orvane::Path::Color hexadecimalColor(std::string_view value) {
    char digits[7];  // six digits and their NUL
    for (std::size_t i = 0; i < 6; ++i) digits[i] = value.size() == 4 ? value[1 + i / 2] : value[1 + i];
    digits[6] = '\0';
    unsigned long bits = 0;
    const std::from_chars_result read = std::from_chars(digits, digits + 6, bits, 16);
    // Six plain digits are the usual case; strtol alone knows what it makes
    // of anything else (a sign, a 0x, white space).
    if (read.ptr != digits + 6) bits = static_cast<unsigned long>(std::strtol(digits, nullptr, 16));
    Orvane::Path::Color color;
    color.color[0][0] = static_cast<float>((bits >> 16) & 0xFF) / 255.0f;
    color.color[0][1] = static_cast<float>((bits >> 8) & 0xFF) / 255.0f;
    color.color[0][2] = static_cast<float>(bits & 0xFF) / 255.0f;
    return color;
}

bool isHexadecimal(std::string_view value) {
    return (value.size() == 4 || value.size() == 7) && value[0] == '#';
}

// No colour keyword or hexadecimal colour is this long; longer values are
// passed over without copying them, as many shapes may read one value.
const std::size_t colorValueLimit = 32;

}  // namespace

bool SVG::colorValue(const char* value, Orvane::Path::Color& color) const {
    // A colour is one word: a value with more (or longer) words names none.
    const char* start = skipSpace(value);
    std::size_t length = 0;
    while (length <= colorValueLimit && start[length] != '\0' &&
           !isSpaceCharacter(start[length]))
        ++length;
    if (length > colorValueLimit || *skipSpace(start + length) != '\0') {
        color = Orvane::Path::Color();
        return true;
    }
    char word[colorValueLimit];  // the loop above bounds length by the limit
    for (std::size_t i = 0; i < length; ++i) word[i] = loweredCharacter(start[i]);
    const std::string_view text(word, length);
    if (text == "none") return false;
    if (isHexadecimal(text)) {
        color = hexadecimalColor(text);
        return true;
    }
    auto named = colors.find(text);
    color = named == colors.end() ? Orvane::Path::Color() : named->second;
    return true;
}

// Replacing the alpha loses nothing: every colour read here is opaque.
void paint(Orvane::Path& path, const Frame& frame, float sizeScale) {
    const ComputedStyle& style = frame.style;
    const float opacity = frame.opacity;
    if (!style.stroke.none) {
        Orvane::Path::Stroke stroke;
        stroke.color = style.stroke.color;
        stroke.color.color[0][3] = opacity;
        stroke.width = userUnits(style.strokeWidth, Axis::Diagonal, lengthContext(frame)) * sizeScale;
        if (!style.strokeDashArray.empty()) {
            stroke.setPattern(style.strokeDashArray);
            stroke.solid = false;
        }
        path.strokes.push_back(std::move(stroke));
    }
    if (!style.fill.none) {
        Orvane::Path::Fill fill;
        fill.color = style.fill.color;
        fill.color.color[0][3] = opacity;
        path.fills.push_back(fill);
    }
}

}  // namespace Pictavo
