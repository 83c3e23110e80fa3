#pragma once

#include <optional>
#include <string_view>

#include "converter/ValueScanner.h"

namespace Pictavo {

// What lengths in relative units are measured against.
struct LengthContext {
    float fontSize = 16;
    float viewportWidth = 800;
    float viewportHeight = 600;
};

// Which side of the viewport a percentage takes: width, height, or the
// normalised diagonal sqrt((w² + h²) / 2) for lengths of no one direction
// (radii of circles, stroke widths, dashes).
enum class Axis { Horizontal, Vertical, Diagonal };

// The length in user units (px): 96 px to the inch, ex half an em.
// Angles and plain numbers are taken as they are.
float userUnits(const Length& length, Axis axis, const LengthContext& context);

// An angle in degrees; a plain number is taken as degrees already.
double angleInDegrees(const Length& angle);

// The whole text as one length, white space around it allowed; nothing when
// it holds anything else or an angle.
std::optional<Length> readLength(std::string_view text);

}  // namespace Pictavo
