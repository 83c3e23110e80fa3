#include "presentation/TransformableShape.h"

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

}  // namespace Orvane
