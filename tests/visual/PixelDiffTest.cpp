#include "visual/PixelDiff.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Pixel = std::vector<std::uint8_t>;

Visual::Image filled(unsigned width, unsigned height, const Pixel& pixel) {
    Visual::Image image;
    image.width = width;
    image.height = height;
    for (unsigned i = 0; i < width * height; ++i) image.rgba.insert(image.rgba.end(), pixel.begin(), pixel.end());
    return image;
}

TEST(PixelDiff, ToleranceAppliesToEachChannel) {
    const Pixel original = {100, 100, 100, 255};
    const struct {
        const char* behaviour;
        Pixel converted;
        bool differs;
    } cases[] = {
        {"red off by exactly the tolerance", {148, 100, 100, 255}, false},
        {"red off by one more", {149, 100, 100, 255}, true},
        {"blue within it below", {100, 100, 52, 255}, false},
        {"only alpha beyond it", {100, 100, 100, 200}, true},
    };
    for (const auto& c : cases) {
        Visual::Image a = filled(3, 2, original), b = filled(3, 2, original);
        std::copy(c.converted.begin(), c.converted.end(), b.rgba.begin() + 4 * 4);  // pixel (1, 1)
        Visual::Difference d = Visual::compareImages(a, b, 48);
        EXPECT_EQ(d.total, 6u) << c.behaviour;
        EXPECT_EQ(d.differing, c.differs ? 1u : 0u) << c.behaviour;
    }
}

TEST(PixelDiff, ShareAndSizeMismatch) {
    Visual::Image white = filled(4, 4, {255, 255, 255, 255});
    Visual::Image marked = white;
    for (unsigned i = 0; i < 4; ++i) marked.rgba[i * 4 * 4] = 0;  // the first column turns cyan
    EXPECT_DOUBLE_EQ(Visual::compareImages(white, marked, 10).share(), 0.25);

    Visual::Difference mismatch = Visual::compareImages(white, filled(4, 5, {255, 255, 255, 255}), 10);
    EXPECT_EQ(mismatch.total, 20u);
    EXPECT_EQ(mismatch.differing, 20u);
    EXPECT_DOUBLE_EQ(Visual::Difference().share(), 0);
}

}  // namespace
