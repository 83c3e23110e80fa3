#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

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

// The opacity as a fraction from 0 to 1; nothing when the value holds no number.
std::optional<float> opacityOf(const char* value) {
    const char* end = nullptr;
    double number = numberValue(value, &end);
    if (end == value || std::isnan(number)) return std::nullopt;
    if (*end == '%') number /= 100;
    return std::clamp(static_cast<float>(number), 0.0f, 1.0f);
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

Declarations SVG::parseStyle(const char* text) const {
    Declarations declarations;
    std::vector<AttributeMap::value_type> declared;
    // As long as the whole text, so that no token is ever cut short.
    std::string token(std::strlen(text) + 1, '\0');
    std::string name;
    std::string value;
    bool inValue = false;

    auto finishDeclaration = [&]() {
        declarations.names.push_back(trim(name.data()));
        declarations.values.push_back(trim(value.data()));
        declared.emplace_back(declarations.names.back(), declarations.values.back().c_str());
        name.clear();
        value.clear();
        inValue = false;
    };

    const char* position = text;
    TokenType type;
    while (std::size_t length = tokenParser(position, token.data(), token.size(), &position, type)) {
        if (type == TokenType::Delimiter && token[0] == ';') {
            finishDeclaration();
        } else if (type == TokenType::Delimiter) {
            value.clear();
            inValue = true;
        } else {
            (inValue ? value : name).append(token.data(), length);
        }
    }
    finishDeclaration();
    declarations.map.assign(declared);
    return declarations;
}

Declarations& SVG::styleDeclarations(const char* text) {
    auto parsed = parsedStyles.find(text);
    if (parsed == parsedStyles.end()) parsed = parsedStyles.emplace(text, parseStyle(text)).first;
    return parsed->second;
}

int SVG::convertStyle(Orvane::Path* path, AttributeMap& declarations, float sizeScale) {
    if (declarations.count("stroke")) convertStroke(path, declarations, sizeScale);
    if (declarations.count("fill")) convertFill(path, declarations);
    convertOtherAttributes(path, declarations);
    return 0;
}

int SVG::convertStroke(Orvane::Path* path, AttributeMap& attributes, float sizeScale) {
    const char* value = valueOf(attributes, "stroke");
    Orvane::Path::Stroke stroke;
    if (!value || !colorValue(value, stroke.color)) return 0;

    const char* width = valueOf(attributes, "stroke-width");
    stroke.width = (width ? static_cast<float>(numberValue(width)) : 1.0f) * sizeScale;

    // A pattern of "none" asks for a solid line; written out as a pattern it
    // would hide the line altogether.
    const char* pattern = valueOf(attributes, "stroke-dasharray");
    if (pattern && !isNoneValue(pattern)) {
        stroke.setPattern(pattern);
        stroke.solid = false;
    }
    path->strokes.push_back(std::move(stroke));
    return 0;
}

int SVG::convertFill(Orvane::Path* path, AttributeMap& attributes) {
    const char* value = valueOf(attributes, "fill");
    Orvane::Path::Fill fill;
    if (value && colorValue(value, fill.color)) path->fills.push_back(fill);
    return 0;
}

int SVG::convertOtherAttributes(Orvane::Path* path, AttributeMap& attributes) {
    const char* value = valueOf(attributes, "opacity");
    if (!value) return 0;
    std::optional<float> opacity = opacityOf(value);
    if (!opacity) return 0;
    // Replacing the alpha loses nothing: every colour read here is opaque.
    for (Orvane::Path::Stroke& stroke : path->strokes) stroke.color.color[0][3] = *opacity;
    for (Orvane::Path::Fill& fill : path->fills) fill.color.color[0][3] = *opacity;
    return 0;
}

}  // namespace Pictavo
