#pragma once

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "converter/Matrix.h"
#include "converter/Svg.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

inline std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = loweredCharacter(c);
    return result;
}

inline const char* skipSpace(const char* text) {
    while (isSpaceCharacter(*text)) ++text;
    return text;
}

// Whether the value is the keyword none, white space around it allowed.
inline bool isNoneValue(const char* value) {
    const char* text = skipSpace(value);
    return std::strncmp(text, "none", 4) == 0 && *skipSpace(text + 4) == '\0';
}

// The value strtod reads from the text, without strtod's cost in the usual
// case: white space, a sign, then decimal digits with a full stop and an
// exponent. from_chars rounds those to the same double and stops where strtod
// would. Every other form (hexadecimal, infinity, a value beyond the range of
// a double, no number at all) is left to strtod itself. `end`, when given,
// receives where the number ends, or `text` when there is none.
inline double numberValue(const char* text, const char** end = nullptr) {
    const char* start = skipSpace(text);
    const char* digits = start + (*start == '-' || *start == '+');
    const bool decimal = (*digits >= '0' && *digits <= '9') || *digits == '.';
    const bool hexadecimal = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (decimal && !hexadecimal) {
        double value;
        std::from_chars_result result =
            std::from_chars(digits, digits + std::strlen(digits), value);
        if (result.ec == std::errc()) {
            if (end != nullptr) *end = result.ptr;
            return *start == '-' ? -value : value;
        }
    }
    char* stop = nullptr;
    const double value = std::strtod(text, &stop);
    if (end != nullptr) *end = stop;
    return value;
}

// How much the matrix scales lengths: the square root of the area factor of
// its linear part. Stroke widths and font sizes follow the drawing's scale by
// it, as the points do through the matrix itself.
inline float sizeScale(const Matrix& ctm) {
    return std::sqrt(std::fabs(ctm.m[0] * ctm.m[4] - ctm.m[1] * ctm.m[3]));
}

}  // namespace Pictavo
