#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "converter/PaintServers.h"

namespace {

using Pictavo::GradientShape;
using Pictavo::GradientStop;
using Pictavo::Rgba;

const Rgba red{1, 0, 0, 1};
const Rgba blue{0, 0, 1, 1};
const Rgba clearBlue{0, 0, 1, 0};
const Rgba halfGreen{0, 1, 0, 0.5f};

// The gradient's colour at an offset, read from the stops as a renderer
// would: the first stop before it, the last after it, and of stops at one
// offset the last.
Rgba colourAt(const std::vector<GradientStop>& stops, double t) {
    if (t <= stops.front().offset) return stops.front().color;
    for (std::size_t i = stops.size() - 1; i > 0; --i) {
        const GradientStop& from = stops[i - 1];
        const GradientStop& to = stops[i];
        if (t < from.offset || to.offset <= from.offset) continue;
        if (t >= to.offset) return to.color;
        const float f = float((t - from.offset) / (to.offset - from.offset));
        auto mix = [f](float a, float b) { return a + (b - a) * f; };
        return {mix(from.color.r, to.color.r), mix(from.color.g, to.color.g),
                mix(from.color.b, to.color.b), mix(from.color.a, to.color.a)};
    }
    return stops.back().color;
}

// The flat colour whose composite over any background matches the mean
// composite, by the midpoint rule over many thin bands (rings for a radial
// gradient, each weighted by its area).
Rgba sampledAverage(const std::vector<GradientStop>& stops, GradientShape shape) {
    const int bands = 20000;
    double sum[4] = {0, 0, 0, 0};
    double total = 0;
    for (int i = 0; i < bands; ++i) {
        const double t = (i + 0.5) / bands;
        const double w = shape == GradientShape::Radial ? t : 1;
        const Rgba c = colourAt(stops, t);
        sum[0] += w * c.r * c.a;
        sum[1] += w * c.g * c.a;
        sum[2] += w * c.b * c.a;
        sum[3] += w * c.a;
        total += w;
    }
    if (sum[3] == 0) return {0, 0, 0, 0};
    return {float(sum[0] / sum[3]), float(sum[1] / sum[3]), float(sum[2] / sum[3]),
            float(sum[3] / total)};
}

}  // namespace

// Offsets outside 0..1 are clamped; one smaller than an earlier one is raised to it.
TEST(GradientStops, OffsetsClampedAndNeverDecreasing) {
    const struct {
        std::vector<float> offsets;
        std::vector<float> expected;
    } cases[] = {
        {{-0.5f, 0.3f, 0.2f, 1.5f}, {0, 0.3f, 0.3f, 1}},
    };
    for (const auto& c : cases) {
        std::vector<GradientStop> stops;
        for (float offset : c.offsets) stops.push_back({offset, red});
        Pictavo::orderStops(stops);
        std::vector<float> offsets;
        for (const GradientStop& stop : stops) offsets.push_back(stop.offset);
        EXPECT_EQ(offsets, c.expected);
    }
}

TEST(GradientAverage, MatchesSampledIntegration) {
    const std::vector<std::vector<GradientStop>> gradients = {
        {{0, red}, {1, blue}},
        {{0, red}, {1, clearBlue}},                           // a clear stop still tints the fade
        {{0, halfGreen}, {0.5f, red}, {0.5f, blue}, {1, clearBlue}},  // a hard edge
        {{0.1f, blue}, {0.3f, halfGreen}, {0.3f, halfGreen}, {0.9f, red}},
    };
    for (GradientShape shape : {GradientShape::Linear, GradientShape::Radial}) {
        for (const std::vector<GradientStop>& stops : gradients) {
            const Rgba expected = sampledAverage(stops, shape);
            const std::optional<Rgba> average = Pictavo::averageGradientColor(stops, shape);
            ASSERT_TRUE(average.has_value());
            const int row = int(&stops - gradients.data());
            EXPECT_NEAR(average->r, expected.r, 1e-4) << row << " radial " << (shape == GradientShape::Radial);
            EXPECT_NEAR(average->g, expected.g, 1e-4) << row;
            EXPECT_NEAR(average->b, expected.b, 1e-4) << row;
            EXPECT_NEAR(average->a, expected.a, 1e-4) << row;
        }
    }
}

// A number or a percentage; anything else is offset 0 (clamping comes later).
TEST(GradientStops, OffsetAttribute) {
    const std::pair<const char*, float> cases[] = {
        {"0.25", 0.25f}, {" 40% ", 0.4f}, {"-20%", -0.2f}, {"5px", 0}, {"50 %", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_FLOAT_EQ(Pictavo::readStopOffset(text), expected) << text;
}
