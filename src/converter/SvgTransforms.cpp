#include <cmath>
#include <cstring>
#include <limits>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

namespace {

// Appends `text` to the NUL-ended contents of `buffer`, cutting what does not fit.
// Every fixed buffer of these readers is written through here.
template <std::size_t N>
void appendText(char (&buffer)[N], const char* text) {
    std::size_t used = std::strlen(buffer);
    std::size_t length = std::strlen(text);
    if (length > N - 1 - used) length = N - 1 - used;
    std::memcpy(buffer + used, text, length);
    buffer[used + length] = '\0';
}

template <std::size_t N>
void replaceText(char (&buffer)[N], const char* text) {
    buffer[0] = '\0';
    appendText(buffer, text);
}

// The arguments read behind the pending keyword.
struct Arguments {
    static constexpr int capacity = 6;
    float values[capacity];
    int count = 0;
};

Matrix translation(float tx, float ty) { return Matrix(1, 0, tx, 0, 1, ty, 0, 0, 1); }

// Degrees to radians in double precision, rounded to a float: the trigonometry
// below works on that float, widened again, so the matrix entries of rotate(90)
// hold the cosine of the float nearest to pi/2 rather than 0.
float radians(float degrees) {
    return static_cast<float>(static_cast<double>(degrees) * 3.141592653589793 / 180.0);
}

void applyMatrix(Matrix& product, const Arguments& arguments) {
    if (arguments.count != 6) return;
    const float* v = arguments.values;
    product.multiplyFromRight(Matrix(v[0], v[2], v[4], v[1], v[3], v[5], 0, 0, 1));
}

void applyTranslate(Matrix& product, const Arguments& arguments) {
    float ty = arguments.count == 2 ? arguments.values[1] : 0;
    product.multiplyFromRight(translation(arguments.values[0], ty));
}

void applyScale(Matrix& product, const Arguments& arguments) {
    float sx = arguments.values[0];
    float sy = arguments.count == 2 ? arguments.values[1] : sx;
    product.multiplyFromRight(Matrix(sx, 0, 0, 0, sy, 0, 0, 0, 1));
}

void applyRotate(Matrix& product, const Arguments& arguments) {
    if (arguments.count != 1 && arguments.count != 3) return;
    double angle = radians(arguments.values[0]);
    float cosine = static_cast<float>(std::cos(angle));
    float sine = static_cast<float>(std::sin(angle));
    Matrix rotation(cosine, -sine, 0, sine, cosine, 0, 0, 0, 1);
    if (arguments.count == 1) {
        product.multiplyFromRight(rotation);
        return;
    }
    float cx = arguments.values[1];
    float cy = arguments.values[2];
    product.multiplyFromRight(translation(cx, cy));
    product.multiplyFromRight(rotation);
    product.multiplyFromRight(translation(-cx, -cy));
}

float tangent(float degrees) {
    return static_cast<float>(std::tan(static_cast<double>(radians(degrees))));
}

void applySkewX(Matrix& product, const Arguments& arguments) {
    product.multiplyFromRight(Matrix(1, tangent(arguments.values[0]), 0, 0, 1, 0, 0, 0, 1));
}

void applySkewY(Matrix& product, const Arguments& arguments) {
    product.multiplyFromRight(Matrix(1, 0, 0, tangent(arguments.values[0]), 1, 0, 0, 0, 1));
}

struct Keyword {
    const char* name;
    void (*apply)(Matrix& product, const Arguments& arguments);
};

const Keyword keywords[] = {
    {"matrix", applyMatrix}, {"translate", applyTranslate}, {"scale", applyScale},
    {"rotate", applyRotate}, {"skewX", applySkewX},         {"skewY", applySkewY},
};

// Multiplies the named transformation into `product`. Called only with at least
// one argument; an unknown name, or a count the keyword does not take, applies
// nothing.
void applyKeyword(const char* name, const Arguments& arguments, Matrix& product) {
    for (const Keyword& keyword : keywords) {
        if (std::strcmp(name, keyword.name) == 0) {
            keyword.apply(product, arguments);
            return;
        }
    }
}

// A number token joined to the sign run read before it, so that "-" and "5",
// even with separators between them, read as -5 and "--5" reads as 0.
template <std::size_t N>
float signedNumber(char (&sign)[N], const char* number) {
    appendText(sign, number);
    float value = static_cast<float>(numberValue(sign));
    sign[0] = '\0';
    return value;
}

bool isPositiveFinite(float value) {
    return value > 0 && value <= std::numeric_limits<float>::max();
}

// The slide length a viewBox length gives: rounded to the nearest integer, at
// least 1, and no more than an int holds.
int slideLength(float viewLength) {
    double rounded = std::round(static_cast<double>(viewLength));
    if (rounded < 1) return 1;
    if (rounded > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

}  // namespace

// The pending keyword is applied when the next keyword or the end of the text
// arrives, not at a closing parenthesis: parentheses, commas and white space all
// merely separate.
int SVG::convertTransform(const char* text, Matrix& ctm) {
    Matrix product = Matrix::identity();
    char token[128];
    char name[128] = "";
    char sign[1024] = "";
    Arguments arguments;
    const char* position = text;
    TokenType type;
    do {
        tokenParser(position, token, &position, type);
        if ((type == TokenType::Word || type == TokenType::End) && arguments.count > 0) {
            applyKeyword(name, arguments, product);
        }
        if (type == TokenType::Number && arguments.count < Arguments::capacity) {
            arguments.values[arguments.count++] = signedNumber(sign, token);
        } else if (type == TokenType::Word) {
            replaceText(name, token);
            arguments.count = 0;
        } else if (type == TokenType::Sign) {
            replaceText(sign, token);
        }
    } while (type != TokenType::End);
    ctm.multiplyFromRight(product);
    return 0;
}

int SVG::convertViewbox(const char* text, int& width, int& height, bool sizeGiven, Matrix& ctm) {
    char token[1024];
    char numbers[4][1024] = {};
    int count = 0;
    const char* position = text;
    TokenType type;
    while (tokenParser(position, token, &position, type) > 0) {
        if (count == 4) continue;
        if (type == TokenType::Number) {
            appendText(numbers[count++], token);
        } else if (type == TokenType::Sign) {
            replaceText(numbers[count], token);
        }
    }
    if (count != 4) return 1;

    float minX = static_cast<float>(numberValue(numbers[0]));
    float minY = static_cast<float>(numberValue(numbers[1]));
    float viewWidth = static_cast<float>(numberValue(numbers[2]));
    float viewHeight = static_cast<float>(numberValue(numbers[3]));
    // An empty or inverted viewBox maps nothing anywhere.
    if (!isPositiveFinite(viewWidth) || !isPositiveFinite(viewHeight)) return 1;

    if (!sizeGiven) {
        width = slideLength(viewWidth);
        height = slideLength(viewHeight);
    }
    ctm.m[0] = 1;
    ctm.m[4] = 1;
    ctm.m[2] = -minX;
    ctm.m[5] = -minY;
    float sx = static_cast<float>(width) / viewWidth;
    float sy = static_cast<float>(height) / viewHeight;
    ctm.multiplyFromLeft(Matrix(sx, 0, 0, 0, sy, 0, 0, 0, 1));
    return 0;
}

}  // namespace Pictavo
