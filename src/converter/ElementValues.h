#pragma once

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

#include "converter/Matrix.h"
#include "converter/Svg.h"

namespace Pictavo {

inline const char* valueOf(const AttributeMap& attributes, std::string_view name) {
    auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : found->second;
}

inline const char* skipSpace(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    return text;
}

// Whether the value is the keyword none, white space around it allowed.
inline bool isNoneValue(const char* value) {
    const char* text = skipSpace(value);
    return std::strncmp(text, "none", 4) == 0 && *skipSpace(text + 4) == '\0';
}

// The value of a Number token as atof reads it. from_chars rounds to the
// same double and is much quicker; what it does not take whole (a lone full
// stop, a value beyond the range of a double) is left to atof.
inline double numberTokenValue(const char* token) {
    const char* end = token + std::strlen(token);
    double value;
    std::from_chars_result result = std::from_chars(token, end, value);
    return result.ec == std::errc() && result.ptr == end ? value : std::atof(token);
}

// The number an attribute starts with (units and trailing text ignored, text
// without a number reads 0), or `fallback` when the attribute is absent.
inline float attributeNumber(const AttributeMap& attributes, std::string_view name,
                             float fallback = 0) {
    auto found = attributes.find(name);
    return found == attributes.end() ? fallback : static_cast<float>(std::atof(found->second));
}

// How much the matrix scales lengths: the square root of the area factor of
// its linear part. Stroke widths and font sizes follow the drawing's scale by
// it, as the points do through the matrix itself.
inline float sizeScale(const Matrix& ctm) {
    return std::sqrt(std::fabs(ctm.m[0] * ctm.m[4] - ctm.m[1] * ctm.m[3]));
}

}  // namespace Pictavo
