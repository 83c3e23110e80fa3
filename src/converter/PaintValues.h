#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "converter/Colors.h"
#include "converter/Lengths.h"

namespace Pictavo {

// A fill or stroke value. A server is url(#id), `id` pointing into the text
// read; its fallback paints when the reference cannot.
struct Paint {
    enum Type { None, Color, Server } type = None;
    ColorValue color;
    std::string_view id;
    bool hasFallback = false;
    ColorValue fallback;
    bool fallbackNone = false;
};

// none | colour | url(#id) [none | colour]; nothing for an invalid value,
// which the cascade ignores as if it were not written.
std::optional<Paint> readPaint(std::string_view text);

// A dash array in user units with an even count (an odd list is repeated
// once). Empty for a solid line: `none`, a negative value, a value that is
// no length, or a total of 0.
std::vector<float> readDashArray(std::string_view text, Axis axis, const LengthContext& context);

// An opacity: a number or a percentage, clamped to 0..1.
std::optional<float> readOpacity(std::string_view text);

}  // namespace Pictavo
