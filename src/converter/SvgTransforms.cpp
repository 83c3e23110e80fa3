#include <algorithm>
#include <cmath>
#include <limits>

#include "converter/Transforms.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

constexpr double pi = 3.141592653589793;

// The arguments of one transform function; matrix() takes the most.
struct Arguments {
    static constexpr int capacity = 7;
    Length values[capacity];
    int count = 0;
};

Matrix translation(float tx, float ty) { return Matrix(1, 0, tx, 0, 1, ty, 0, 0, 1); }
Matrix scaling(float sx, float sy) { return Matrix(sx, 0, 0, 0, sy, 0, 0, 0, 1); }

// An angle in radians, computed in double precision and rounded to a float:
// the trigonometry below works on that float, widened again, so the matrix
// entries of rotate(90) hold the cosine of the float nearest to pi/2 rather
// than 0. A bare number is in degrees.
bool radians(const Length& angle, float& value) {
    const double v = angle.value;
    switch (angle.unit) {
        case Unit::None:
        case Unit::Deg:
            value = static_cast<float>(v * pi / 180.0);
            return true;
        case Unit::Rad:
            value = angle.value;
            return true;
        case Unit::Grad:
            value = static_cast<float>(v * pi / 200.0);
            return true;
        case Unit::Turn:
            value = static_cast<float>(v * 2 * pi);
            return true;
        default:
            return false;
    }
}

bool tangent(const Length& angle, float& value) {
    float radian;
    if (!radians(angle, radian)) return false;
    value = static_cast<float>(std::tan(static_cast<double>(radian)));
    return true;
}

// A translation distance in user units; angles are no distances.
bool distance(const Length& length, Axis axis, const LengthContext& context, float& value) {
    if (isAngle(length.unit)) return false;
    value = userUnits(length, axis, context);
    return true;
}

// A scale factor: a number, or a percentage of one.
bool factor(const Length& length, float& value) {
    if (length.unit == Unit::Percent) {
        value = length.value / 100;
        return true;
    }
    value = length.value;
    return length.unit == Unit::None;
}

bool rotation(const Arguments& a, const LengthContext& context, Matrix& result) {
    float angle, cx = 0, cy = 0;
    if (a.count != 1 && a.count != 3) return false;
    if (!radians(a.values[0], angle)) return false;
    if (a.count == 3 && !(distance(a.values[1], Axis::Horizontal, context, cx) &&
                          distance(a.values[2], Axis::Vertical, context, cy)))
        return false;
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    const Matrix turn(cosine, -sine, 0, sine, cosine, 0, 0, 0, 1);
    if (a.count == 1) {
        result.multiplyFromRight(turn);
        return true;
    }
    result.multiplyFromRight(translation(cx, cy));
    result.multiplyFromRight(turn);
    result.multiplyFromRight(translation(-cx, -cy));
    return true;
}

bool matrixFunction(const Arguments& a, Matrix& result) {
    if (a.count != 6) return false;
    float v[6];
    for (int i = 0; i < 6; ++i) {
        if (a.values[i].unit != Unit::None) return false;
        v[i] = a.values[i].value;
    }
    result.multiplyFromRight(Matrix(v[0], v[2], v[4], v[1], v[3], v[5], 0, 0, 1));
    return true;
}

bool translateFunction(const Arguments& a, const LengthContext& context, Matrix& result) {
    float tx, ty = 0;
    if (a.count < 1 || a.count > 2) return false;
    if (!distance(a.values[0], Axis::Horizontal, context, tx)) return false;
    if (a.count == 2 && !distance(a.values[1], Axis::Vertical, context, ty)) return false;
    result.multiplyFromRight(translation(tx, ty));
    return true;
}

bool scaleFunction(const Arguments& a, Matrix& result) {
    float sx, sy;
    if (a.count < 1 || a.count > 2 || !factor(a.values[0], sx)) return false;
    if (a.count == 1)
        sy = sx;
    else if (!factor(a.values[1], sy))
        return false;
    result.multiplyFromRight(scaling(sx, sy));
    return true;
}

bool skewFunction(const Arguments& a, Matrix& result) {
    float tx, ty = 0;
    if (a.count < 1 || a.count > 2 || !tangent(a.values[0], tx)) return false;
    if (a.count == 2 && !tangent(a.values[1], ty)) return false;
    result.multiplyFromRight(Matrix(1, tx, 0, ty, 1, 0, 0, 0, 1));
    return true;
}

// Multiplies a function of one argument for one axis into `result`.
bool singleAxisFunction(std::string_view name, const Arguments& a, const LengthContext& context,
                        Matrix& result) {
    if (a.count != 1) return false;
    const Length& v = a.values[0];
    float value;
    if (equalsLowered(name, "translatex") && distance(v, Axis::Horizontal, context, value))
        result.multiplyFromRight(translation(value, 0));
    else if (equalsLowered(name, "translatey") && distance(v, Axis::Vertical, context, value))
        result.multiplyFromRight(translation(0, value));
    else if (equalsLowered(name, "scalex") && factor(v, value))
        result.multiplyFromRight(scaling(value, 1));
    else if (equalsLowered(name, "scaley") && factor(v, value))
        result.multiplyFromRight(scaling(1, value));
    else if (equalsLowered(name, "skewx") && tangent(v, value))
        result.multiplyFromRight(Matrix(1, value, 0, 0, 1, 0, 0, 0, 1));
    else if (equalsLowered(name, "skewy") && tangent(v, value))
        result.multiplyFromRight(Matrix(1, 0, 0, value, 1, 0, 0, 0, 1));
    else
        return false;
    return true;
}

// Multiplies the named function into `result`; false for an unknown name or
// arguments the function does not take.
bool applyFunction(std::string_view name, const Arguments& a, const LengthContext& context,
                   Matrix& result) {
    if (equalsLowered(name, "matrix")) return matrixFunction(a, result);
    if (equalsLowered(name, "translate")) return translateFunction(a, context, result);
    if (equalsLowered(name, "scale")) return scaleFunction(a, result);
    if (equalsLowered(name, "rotate")) return rotation(a, context, result);
    if (equalsLowered(name, "skew")) return skewFunction(a, result);
    return singleAxisFunction(name, a, context, result);
}

// "(" arguments ")": lengths separated by a comma, white space or nothing
// where a sign or full stop starts the next one.
bool readArguments(ValueScanner& scanner, Arguments& arguments) {
    scanner.skipSpace();
    if (!scanner.character('(')) return false;
    scanner.skipSpace();
    arguments.count = 0;
    while (arguments.count < Arguments::capacity) {
        if (!scanner.length(arguments.values[arguments.count++])) return false;
        scanner.skipCommaAndSpace();
        if (scanner.character(')')) return true;
    }
    return false;
}

bool isPositiveFinite(float value) {
    return value > 0 && value <= std::numeric_limits<float>::max();
}

struct AlignName {
    std::string_view name;
    AspectRatio::Align align;
};

const AlignName alignNames[] = {
    {"none", AspectRatio::None},         {"xminymin", AspectRatio::XMinYMin},
    {"xmidymin", AspectRatio::XMidYMin}, {"xmaxymin", AspectRatio::XMaxYMin},
    {"xminymid", AspectRatio::XMinYMid}, {"xmidymid", AspectRatio::XMidYMid},
    {"xmaxymid", AspectRatio::XMaxYMid}, {"xminymax", AspectRatio::XMinYMax},
    {"xmidymax", AspectRatio::XMidYMax}, {"xmaxymax", AspectRatio::XMaxYMax},
};

// 0 for Min, 1 for Mid, 2 for Max, per axis.
int columnOf(AspectRatio::Align align) { return (align - AspectRatio::XMinYMin) % 3; }
int rowOf(AspectRatio::Align align) { return (align - AspectRatio::XMinYMin) / 3; }

// How far the viewBox moves to sit at the start, middle or end of the room
// left beside it.
float alignmentOffset(int position, float room) {
    if (position == 0) return 0;
    return position == 1 ? room / 2 : room;
}

}  // namespace

bool readTransform(std::string_view text, Matrix& product, const LengthContext& context) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    if (scanner.keyword("none")) {
        scanner.skipSpace();
        return scanner.atEnd();
    }
    Matrix result = Matrix::identity();
    Arguments arguments;
    std::string_view name;
    while (!scanner.atEnd()) {
        if (!scanner.identifier(name) || !readArguments(scanner, arguments) ||
            !applyFunction(name, arguments, context, result))
            return false;
        scanner.skipSpace();
        if (scanner.character(',')) {
            scanner.skipSpace();
            if (scanner.atEnd()) return false;
        }
    }
    product.multiplyFromRight(result);
    return true;
}

std::optional<ViewBox> readViewBox(std::string_view text) {
    ValueScanner scanner(text);
    float v[4];
    scanner.skipSpace();
    for (int i = 0; i < 4; ++i)
        if ((i > 0 && !scanner.skipCommaAndSpace()) || !scanner.number(v[i])) return std::nullopt;
    scanner.skipSpace();
    if (!scanner.atEnd() || !isPositiveFinite(v[2]) || !isPositiveFinite(v[3])) return std::nullopt;
    return ViewBox{v[0], v[1], v[2], v[3]};
}

AspectRatio readAspectRatio(std::string_view text) {
    ValueScanner scanner(text);
    AspectRatio ratio;
    scanner.skipSpace();
    if (scanner.keyword("defer")) scanner.skipSpace();
    std::string_view word;
    if (!scanner.identifier(word)) return AspectRatio();
    const AlignName* found =
        std::find_if(std::begin(alignNames), std::end(alignNames),
                     [&](const AlignName& a) { return equalsLowered(word, a.name); });
    if (found == std::end(alignNames)) return AspectRatio();
    ratio.align = found->align;
    scanner.skipSpace();
    if (scanner.keyword("slice"))
        ratio.slice = true;
    else
        scanner.keyword("meet");
    scanner.skipSpace();
    return scanner.atEnd() ? ratio : AspectRatio();
}

Matrix viewBoxTransform(const ViewBox& box, const AspectRatio& ratio, float x, float y, float width,
                        float height) {
    float sx = width / box.width;
    float sy = height / box.height;
    if (ratio.align != AspectRatio::None) {
        sx = sy = ratio.slice ? std::max(sx, sy) : std::min(sx, sy);
    }
    float tx = x - box.x * sx;
    float ty = y - box.y * sy;
    if (ratio.align != AspectRatio::None) {
        tx += alignmentOffset(columnOf(ratio.align), width - box.width * sx);
        ty += alignmentOffset(rowOf(ratio.align), height - box.height * sy);
    }
    return Matrix(sx, 0, tx, 0, sy, ty, 0, 0, 1);
}

}  // namespace Pictavo
