#pragma once

#include <optional>
#include <string_view>

namespace Pictavo {

// Components from 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

struct ColorValue {
    bool current = false;  // the currentColor keyword: the `color` property's value
    Rgba rgba;
};

// A colour as CSS Color writes it: a keyword, #rgb, #rgba, #rrggbb,
// #rrggbbaa, rgb()/rgba() and hsl()/hsla() in comma or space syntax,
// transparent or currentColor; case does not matter and white space may
// surround it. Anything else is no colour: nothing, never black.
std::optional<ColorValue> readColor(std::string_view text);

}  // namespace Pictavo
