#include <algorithm>
#include <cmath>
#include <iterator>

#include "converter/Colors.h"
#include "converter/Lengths.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

struct NamedColor {
    std::string_view name;
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// The colour keywords of CSS, sorted for a binary search. "fuscia" is a
// misspelling common enough in hand-written drawings to be worth honouring
// as fuchsia.
constexpr NamedColor namedColors[] = {
    {"aliceblue", 240, 248, 255},
    {"antiquewhite", 250, 235, 215},
    {"aqua", 0, 255, 255},
    {"aquamarine", 127, 255, 212},
    {"azure", 240, 255, 255},
    {"beige", 245, 245, 220},
    {"bisque", 255, 228, 196},
    {"black", 0, 0, 0},
    {"blanchedalmond", 255, 235, 205},
    {"blue", 0, 0, 255},
    {"blueviolet", 138, 43, 226},
    {"brown", 165, 42, 42},
    {"burlywood", 222, 184, 135},
    {"cadetblue", 95, 158, 160},
    {"chartreuse", 127, 255, 0},
    {"chocolate", 210, 105, 30},
    {"coral", 255, 127, 80},
    {"cornflowerblue", 100, 149, 237},
    {"cornsilk", 255, 248, 220},
    {"crimson", 220, 20, 60},
    {"cyan", 0, 255, 255},
    {"darkblue", 0, 0, 139},
    {"darkcyan", 0, 139, 139},
    {"darkgoldenrod", 184, 134, 11},
    {"darkgray", 169, 169, 169},
    {"darkgreen", 0, 100, 0},
    {"darkgrey", 169, 169, 169},
    {"darkkhaki", 189, 183, 107},
    {"darkmagenta", 139, 0, 139},
    {"darkolivegreen", 85, 107, 47},
    {"darkorange", 255, 140, 0},
    {"darkorchid", 153, 50, 204},
    {"darkred", 139, 0, 0},
    {"darksalmon", 233, 150, 122},
    {"darkseagreen", 143, 188, 143},
    {"darkslateblue", 72, 61, 139},
    {"darkslategray", 47, 79, 79},
    {"darkslategrey", 47, 79, 79},
    {"darkturquoise", 0, 206, 209},
    {"darkviolet", 148, 0, 211},
    {"deeppink", 255, 20, 147},
    {"deepskyblue", 0, 191, 255},
    {"dimgray", 105, 105, 105},
    {"dimgrey", 105, 105, 105},
    {"dodgerblue", 30, 144, 255},
    {"firebrick", 178, 34, 34},
    {"floralwhite", 255, 250, 240},
    {"forestgreen", 34, 139, 34},
    {"fuchsia", 255, 0, 255},
    {"fuscia", 255, 0, 255},
    {"gainsboro", 220, 220, 220},
    {"ghostwhite", 248, 248, 255},
    {"gold", 255, 215, 0},
    {"goldenrod", 218, 165, 32},
    {"gray", 128, 128, 128},
    {"green", 0, 128, 0},
    {"greenyellow", 173, 255, 47},
    {"grey", 128, 128, 128},
    {"honeydew", 240, 255, 240},
    {"hotpink", 255, 105, 180},
    {"indianred", 205, 92, 92},
    {"indigo", 75, 0, 130},
    {"ivory", 255, 255, 240},
    {"khaki", 240, 230, 140},
    {"lavender", 230, 230, 250},
    {"lavenderblush", 255, 240, 245},
    {"lawngreen", 124, 252, 0},
    {"lemonchiffon", 255, 250, 205},
    {"lightblue", 173, 216, 230},
    {"lightcoral", 240, 128, 128},
    {"lightcyan", 224, 255, 255},
    {"lightgoldenrodyellow", 250, 250, 210},
    {"lightgray", 211, 211, 211},
    {"lightgreen", 144, 238, 144},
    {"lightgrey", 211, 211, 211},
    {"lightpink", 255, 182, 193},
    {"lightsalmon", 255, 160, 122},
    {"lightseagreen", 32, 178, 170},
    {"lightskyblue", 135, 206, 250},
    {"lightslategray", 119, 136, 153},
    {"lightslategrey", 119, 136, 153},
    {"lightsteelblue", 176, 196, 222},
    {"lightyellow", 255, 255, 224},
    {"lime", 0, 255, 0},
    {"limegreen", 50, 205, 50},
    {"linen", 250, 240, 230},
    {"magenta", 255, 0, 255},
    {"maroon", 128, 0, 0},
    {"mediumaquamarine", 102, 205, 170},
    {"mediumblue", 0, 0, 205},
    {"mediumorchid", 186, 85, 211},
    {"mediumpurple", 147, 112, 219},
    {"mediumseagreen", 60, 179, 113},
    {"mediumslateblue", 123, 104, 238},
    {"mediumspringgreen", 0, 250, 154},
    {"mediumturquoise", 72, 209, 204},
    {"mediumvioletred", 199, 21, 133},
    {"midnightblue", 25, 25, 112},
    {"mintcream", 245, 255, 250},
    {"mistyrose", 255, 228, 225},
    {"moccasin", 255, 228, 181},
    {"navajowhite", 255, 222, 173},
    {"navy", 0, 0, 128},
    {"oldlace", 253, 245, 230},
    {"olive", 128, 128, 0},
    {"olivedrab", 107, 142, 35},
    {"orange", 255, 165, 0},
    {"orangered", 255, 69, 0},
    {"orchid", 218, 112, 214},
    {"palegoldenrod", 238, 232, 170},
    {"palegreen", 152, 251, 152},
    {"paleturquoise", 175, 238, 238},
    {"palevioletred", 219, 112, 147},
    {"papayawhip", 255, 239, 213},
    {"peachpuff", 255, 218, 185},
    {"peru", 205, 133, 63},
    {"pink", 255, 192, 203},
    {"plum", 221, 160, 221},
    {"powderblue", 176, 224, 230},
    {"purple", 128, 0, 128},
    {"rebeccapurple", 102, 51, 153},
    {"red", 255, 0, 0},
    {"rosybrown", 188, 143, 143},
    {"royalblue", 65, 105, 225},
    {"saddlebrown", 139, 69, 19},
    {"salmon", 250, 128, 114},
    {"sandybrown", 244, 164, 96},
    {"seagreen", 46, 139, 87},
    {"seashell", 255, 245, 238},
    {"sienna", 160, 82, 45},
    {"silver", 192, 192, 192},
    {"skyblue", 135, 206, 235},
    {"slateblue", 106, 90, 205},
    {"slategray", 112, 128, 144},
    {"slategrey", 112, 128, 144},
    {"snow", 255, 250, 250},
    {"springgreen", 0, 255, 127},
    {"steelblue", 70, 130, 180},
    {"tan", 210, 180, 140},
    {"teal", 0, 128, 128},
    {"thistle", 216, 191, 216},
    {"tomato", 255, 99, 71},
    {"turquoise", 64, 224, 208},
    {"violet", 238, 130, 238},
    {"wheat", 245, 222, 179},
    {"white", 255, 255, 255},
    {"whitesmoke", 245, 245, 245},
    {"yellow", 255, 255, 0},
    {"yellowgreen", 154, 205, 50},
};

// Dividing in single precision gives each component the float nearest to
// the exact quotient, which is what the output's digits are made from.
float component(float value) { return value / 255.0f; }

Rgba rgbaOf(const NamedColor& named) {
    return Rgba{component(named.red), component(named.green), component(named.blue), 1};
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return loweredCharacter(x) < loweredCharacter(y);
    });
}

std::optional<ColorValue> namedColor(std::string_view word) {
    const NamedColor* found = std::lower_bound(std::begin(namedColors), std::end(namedColors), word,
                                               [](const NamedColor& named, std::string_view w) {
                                                   return lessIgnoringCase(named.name, w);
                                               });
    if (found == std::end(namedColors) || !equalsLowered(word, found->name)) return std::nullopt;
    return ColorValue{false, rgbaOf(*found)};
}

// The digits after '#': 3 or 4 stand for themselves twice, 6 or 8 pair up;
// the fourth or eighth is alpha.
std::optional<ColorValue> hexadecimalColor(std::string_view digits) {
    const std::size_t count = digits.size();
    if (count != 3 && count != 4 && count != 6 && count != 8) return std::nullopt;
    const bool shortForm = count < 6;
    float channels[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; i < count; i += shortForm ? 1 : 2) {
        const int high = hexadecimalValue(digits[i]);
        const int low = shortForm ? high : hexadecimalValue(digits[i + 1]);
        channels[shortForm ? i : i / 2] = static_cast<float>(high * 16 + low);
    }
    return ColorValue{false, Rgba{component(channels[0]), component(channels[1]),
                                  component(channels[2]), component(channels[3])}};
}

bool isNumberOrPercent(const Length& value) {
    return value.unit == Unit::None || value.unit == Unit::Percent;
}

float clamped(double value, double high) {
    return static_cast<float>(std::clamp(value, 0.0, high));
}

float rgbChannel(const Length& value) {
    if (value.unit == Unit::Percent) return clamped(value.value, 100) / 100;
    return component(clamped(value.value, 255));
}

float alphaOf(const Length& value) {
    return clamped(value.unit == Unit::Percent ? value.value / 100.0 : value.value, 1);
}

// The arguments of rgb() or hsl() behind the name: three values and an
// optional alpha, all separated by commas ("legacy" syntax) or by white
// space with "/" before the alpha.
struct ColorArguments {
    Length values[3];
    Length alpha{1, Unit::None};
    bool commas = false;
};

bool readColorArguments(ValueScanner& scanner, ColorArguments& arguments) {
    if (!scanner.character('(')) return false;
    for (int i = 0; i < 3; ++i) {
        scanner.skipSpace();
        if (i == 1) arguments.commas = scanner.character(',');
        if (i == 2 && arguments.commas && !scanner.character(',')) return false;
        scanner.skipSpace();
        if (!scanner.length(arguments.values[i])) return false;
    }
    scanner.skipSpace();
    if (scanner.character(arguments.commas ? ',' : '/')) {
        scanner.skipSpace();
        if (!scanner.length(arguments.alpha) || !isNumberOrPercent(arguments.alpha)) return false;
        scanner.skipSpace();
    }
    return scanner.character(')');
}

// Legacy syntax takes all numbers or all percentages; space syntax mixes them.
std::optional<ColorValue> rgbColor(const ColorArguments& a) {
    for (const Length& value : a.values) {
        if (!isNumberOrPercent(value)) return std::nullopt;
        if (a.commas && value.unit != a.values[0].unit) return std::nullopt;
    }
    return ColorValue{false, Rgba{rgbChannel(a.values[0]), rgbChannel(a.values[1]),
                                  rgbChannel(a.values[2]), alphaOf(a.alpha)}};
}

// CSS Color's conversion: each channel read off the hue circle at its own
// offset (red 0, green 8, blue 4 twelfths of a turn).
float hslChannel(double n, double hue, double saturation, double lightness) {
    const double k = std::fmod(n + hue / 30, 12);
    const double amount = saturation * std::min(lightness, 1 - lightness);
    return static_cast<float>(lightness - amount * std::max(-1.0, std::min({k - 3, 9 - k, 1.0})));
}

// Saturation and lightness are percentages; space syntax allows plain
// numbers for them too.
std::optional<ColorValue> hslColor(const ColorArguments& a) {
    const Length& hue = a.values[0];
    if (hue.unit != Unit::None && !isAngle(hue.unit)) return std::nullopt;
    for (const Length* value : {&a.values[1], &a.values[2]}) {
        if (value->unit != Unit::Percent && (a.commas || value->unit != Unit::None))
            return std::nullopt;
    }
    double degrees = std::fmod(angleInDegrees(hue), 360.0);
    if (degrees < 0) degrees += 360;
    const double saturation = clamped(a.values[1].value, 100) / 100.0;
    const double lightness = clamped(a.values[2].value, 100) / 100.0;
    return ColorValue{false, Rgba{hslChannel(0, degrees, saturation, lightness),
                                  hslChannel(8, degrees, saturation, lightness),
                                  hslChannel(4, degrees, saturation, lightness), alphaOf(a.alpha)}};
}

std::optional<ColorValue> functionalColor(std::string_view name, ValueScanner& scanner) {
    const bool rgb = equalsLowered(name, "rgb") || equalsLowered(name, "rgba");
    const bool hsl = equalsLowered(name, "hsl") || equalsLowered(name, "hsla");
    ColorArguments arguments;
    if ((!rgb && !hsl) || !readColorArguments(scanner, arguments)) return std::nullopt;
    return rgb ? rgbColor(arguments) : hslColor(arguments);
}

std::optional<ColorValue> colorAt(ValueScanner& scanner) {
    std::string_view word;
    if (scanner.character('#'))
        return scanner.hexadecimalDigits(word) ? hexadecimalColor(word) : std::nullopt;
    if (!scanner.identifier(word)) return std::nullopt;
    if (scanner.next() == '(') return functionalColor(word, scanner);
    if (equalsLowered(word, "transparent")) return ColorValue{false, Rgba{0, 0, 0, 0}};
    if (equalsLowered(word, "currentcolor")) return ColorValue{true, Rgba()};
    return namedColor(word);
}

}  // namespace

std::optional<ColorValue> readColor(std::string_view text) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    std::optional<ColorValue> color = colorAt(scanner);
    scanner.skipSpace();
    if (!scanner.atEnd()) return std::nullopt;
    return color;
}

}  // namespace Pictavo
