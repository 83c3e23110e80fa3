#include "visual/PixelDiff.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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
        {"only alpha beyond it", {100, 100, 100, 200}, true},
    };
    for (const auto& c : cases) {
        Visual::Image a = filled(3, 2, original), b = filled(3, 2, original);
        std::copy(c.converted.begin(), c.converted.end(), b.rgba.begin() + 4 * 4);  // pixel (1, 1)
        Visual::Difference d = Visual::compareImages(a, b, {48, 0});
        EXPECT_EQ(d.total, 6u) << c.behaviour;
        EXPECT_EQ(d.differing, c.differs ? 1u : 0u) << c.behaviour;
    }
}

// Three rows alike, drawn as one: '#' black, 'o' grey, '.' white.
Visual::Image striped(const std::string& row) {
    Visual::Image image;
    image.width = unsigned(row.size());
    image.height = 3;
    for (unsigned y = 0; y < image.height; ++y) {
        for (char c : row) {
            std::uint8_t level = c == '#' ? 0 : c == 'o' ? 128 : 255;
            image.rgba.insert(image.rgba.end(), {level, level, level, 255});
        }
    }
    return image;
}

TEST(PixelDiff, SlackForgivesEdgesPlacedApartButNotLines) {
    const struct {
        const char* behaviour;
        const char* original;
        const char* converted;
        unsigned slack;
        std::size_t differing;
    } cases[] = {
        {"an edge one pixel apart", "####....", "#####...", 1, 0},
        {"the same edge without slack", "####....", "#####...", 0, 3},
        {"an edge two pixels apart", "####....", "######..", 1, 6},
        {"an anti-aliased edge half a pixel apart", "###o....", "####....", 1, 0},
        {"grey inside black is no edge", "########", "##oooo##", 1, 12},
        {"a line only the converted picture has", "........", "...#....", 1, 3},
        {"a line only the original has", "...#....", "........", 1, 3},
    };
    for (const auto& c : cases) {
        Visual::Difference d = Visual::compareImages(striped(c.original), striped(c.converted), {16, c.slack});
        EXPECT_EQ(d.differing, c.differing) << c.behaviour;
    }
}

TEST(PixelDiff, ShareAndSizeMismatch) {
    Visual::Image white = filled(4, 4, {255, 255, 255, 255});
    Visual::Image marked = white;
    for (unsigned i = 0; i < 4; ++i) marked.rgba[i * 4 * 4] = 0;  // the first column turns cyan
    EXPECT_DOUBLE_EQ(Visual::compareImages(white, marked, {10, 0}).share(), 0.25);

    Visual::Difference mismatch = Visual::compareImages(white, filled(4, 5, {255, 255, 255, 255}), {10, 0});
    EXPECT_EQ(mismatch.total, 20u);
    EXPECT_EQ(mismatch.differing, 20u);
    EXPECT_DOUBLE_EQ(Visual::Difference().share(), 0);
}

}  // namespace
