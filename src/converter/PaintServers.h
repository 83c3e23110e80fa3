#pragma once

#include <optional>
#include <vector>

#include "converter/PendingValues.h"

namespace Pictavo {

// One gradient stop: its offset as a fraction of the gradient vector, its
// colour with stop-opacity already multiplied into the alpha.
struct GradientStop {
    float offset = 0;
    Rgba color;
};

// SVG's stop rules: offsets clamped to 0..1, and each raised to the largest
// offset before it, so that stops never go backwards.
void orderStops(std::vector<GradientStop>& stops);

enum class GradientShape { Linear, Radial };

// The one flat colour that best stands in for a gradient whose stops are
// ordered: the average of its colour over offsets 0 to 1, the first stop's
// colour before it and the last's after it. A linear gradient weighs every
// offset alike; a radial one by the area of its ring (offset t has weight 2t).
// Nothing when there are no stops.
std::optional<Rgba> averageGradientColor(const std::vector<GradientStop>& stops,
                                         GradientShape shape);

}  // namespace Pictavo
