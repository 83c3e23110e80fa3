#include "converter/PaintServers.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace Pictavo {

void orderStops(std::vector<GradientStop>& stops) {
    float largest = 0;
    for (GradientStop& stop : stops) {
        largest = std::max(largest, std::clamp(stop.offset, 0.0f, 1.0f));
        stop.offset = largest;
    }
}

namespace {

// A colour with its components multiplied by its alpha, the alpha last.
using Premultiplied = std::array<double, 4>;

// Stops interpolate each component, alpha included, on its own, as SVG
// defines; what the eye sees of an offset is that colour composited over the
// background, which depends only on the premultiplied colour. So the
// integrand is premultiplied after interpolating.
Premultiplied premultipliedBetween(const Rgba& from, const Rgba& to, double fraction) {
    auto mix = [fraction](float a, float b) { return a + (b - a) * fraction; };
    const double alpha = mix(from.a, to.a);
    return {mix(from.r, to.r) * alpha, mix(from.g, to.g) * alpha, mix(from.b, to.b) * alpha, alpha};
}

double weight(GradientShape shape, double offset) {
    return shape == GradientShape::Radial ? 2 * offset : 1;
}

// Adds the integral of weight times premultiplied colour from one stop to the
// next. The integrand is a polynomial of at most third degree there (two
// linear factors, times the linear radial weight), which Simpson's rule
// integrates exactly.
void addInterval(const GradientStop& from, const GradientStop& to, GradientShape shape,
                 Premultiplied& sum) {
    const double width = double(to.offset) - from.offset;
    if (width <= 0) return;
    const double middle = from.offset + width / 2;
    const Premultiplied start = premultipliedBetween(from.color, to.color, 0);
    const Premultiplied centre = premultipliedBetween(from.color, to.color, 0.5);
    const Premultiplied end = premultipliedBetween(from.color, to.color, 1);
    for (std::size_t i = 0; i < sum.size(); ++i) {
        sum[i] += width / 6 *
                  (weight(shape, from.offset) * start[i] + 4 * weight(shape, middle) * centre[i] +
                   weight(shape, to.offset) * end[i]);
    }
}

}  // namespace

// The flat colour composited over any background gives the mean of the
// gradient's composites over it exactly when its alpha is the mean alpha and
// its premultiplied colour the mean premultiplied colour (both weights
// integrate to 1 over 0..1).
std::optional<Rgba> averageGradientColor(const std::vector<GradientStop>& stops,
                                         GradientShape shape) {
    if (stops.empty()) return std::nullopt;
    if (stops.size() == 1) return stops.front().color;
    Premultiplied sum{0, 0, 0, 0};
    addInterval({0, stops.front().color}, stops.front(), shape, sum);
    for (std::size_t i = 1; i < stops.size(); ++i) addInterval(stops[i - 1], stops[i], shape, sum);
    addInterval(stops.back(), {1, stops.back().color}, shape, sum);
    const double alpha = sum[3];
    if (alpha <= 0) return Rgba{0, 0, 0, 0};
    return Rgba{float(sum[0] / alpha), float(sum[1] / alpha), float(sum[2] / alpha),
                float(std::min(alpha, 1.0))};
}

}  // namespace Pictavo
