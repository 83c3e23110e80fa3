#include "converter/Lengths.h"

#include <cmath>

namespace Pictavo {

namespace {

// User units per unit, for the units whose size is fixed.
double absoluteFactor(Unit unit) {
    switch (unit) {
        case Unit::Pt:
            return 96.0 / 72.0;
        case Unit::Pc:
            return 96.0 / 6.0;
        case Unit::Mm:
            return 96.0 / 25.4;
        case Unit::Cm:
            return 96.0 / 2.54;
        case Unit::In:
            return 96.0;
        case Unit::Q:
            return 96.0 / 101.6;
        default:
            return 1.0;
    }
}

double viewportSide(Axis axis, const LengthContext& context) {
    const double width = context.viewportWidth;
    const double height = context.viewportHeight;
    switch (axis) {
        case Axis::Horizontal:
            return width;
        case Axis::Vertical:
            return height;
        default:
            return std::sqrt((width * width + height * height) / 2);
    }
}

}  // namespace

float userUnits(const Length& length, Axis axis, const LengthContext& context) {
    const double value = length.value;
    switch (length.unit) {
        case Unit::Em:
            return static_cast<float>(value * context.fontSize);
        case Unit::Ex:
            return static_cast<float>(value * context.fontSize / 2);
        case Unit::Percent:
            return static_cast<float>(value / 100 * viewportSide(axis, context));
        default:
            return static_cast<float>(value * absoluteFactor(length.unit));
    }
}

double angleInDegrees(const Length& angle) {
    switch (angle.unit) {
        case Unit::Rad:
            return angle.value * 180.0 / 3.141592653589793;
        case Unit::Grad:
            return angle.value * 0.9;
        case Unit::Turn:
            return angle.value * 360.0;
        default:
            return angle.value;
    }
}

std::optional<Length> readLength(std::string_view text) {
    ValueScanner scanner(text);
    Length length;
    scanner.skipSpace();
    if (!scanner.length(length) || isAngle(length.unit)) return std::nullopt;
    scanner.skipSpace();
    if (!scanner.atEnd()) return std::nullopt;
    return length;
}

}  // namespace Pictavo
