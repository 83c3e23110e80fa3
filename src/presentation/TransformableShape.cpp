#include "presentation/TransformableShape.h"

#include "presentation/Format.h"

namespace Orvane {

TransformableShape::TransformableShape()
    : transformation{1, 0, 0, 1, 0, 0}, position{0, 0}, size{0, 0} {}

void TransformableShape::setPosition(float x, float y) {
    position[0] = x;
    position[1] = y;
}

void TransformableShape::setTransformation(float a, float b, float c, float d, float tx,
                                           float ty) {
    float values[6] = {a, b, c, d, tx, ty};
    for (int i = 0; i < 6; ++i) transformation[i] = values[i];
}

bool TransformableShape::placementWritable() const {
    const float* t = transformation;
    return Format::writable({t[0], t[1], t[2], t[3], position[0], position[1]});
}

void TransformableShape::appendPlacement(std::string& document) const {
    const float* t = transformation;
    Format::numbers(document, {t[0], t[1], t[2], t[3], position[0], position[1]});
}

}  // namespace Orvane
