#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Pictavo {

enum class TextAnchor { Start, Middle, End };

// The font name a presentation application knows for a `font-family` list:
// its first family, unquoted, with the generic families serif, sans-serif
// and monospace named as Times, Helvetica and Courier. Empty when the list
// names no family.
std::string presentedFontFamily(std::string_view list);

// The readers of the font properties. Each returns nothing for a value the
// property cannot take, which the cascade then ignores. Sizes are in user
// units; relative ones (em, %, larger) are taken from `parentSize`.
std::optional<float> readFontSize(std::string_view text, float parentSize);
std::optional<bool> readFontWeightBold(std::string_view text);
std::optional<bool> readFontStyleItalic(std::string_view text);
std::optional<TextAnchor> readTextAnchor(std::string_view text);

// The `font` shorthand: style, variant, weight and stretch in any order, the
// size, an optional line height after '/', then the family list (the rest of
// the text). What it leaves out takes its initial value.
struct FontShorthand {
    bool italic = false;
    bool bold = false;
    float size = 16;
    std::string_view family;
};
std::optional<FontShorthand> readFontShorthand(std::string_view text, float parentSize);

}  // namespace Pictavo
