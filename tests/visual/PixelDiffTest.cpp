#include "visual/PixelDiff.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
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

Pixel pixelAt(const Visual::Image& image, unsigned x, unsigned y) {
    auto first = image.rgba.begin() + (std::size_t(y) * image.width + x) * 4;
    return Pixel(first, first + 4);
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

TEST(PixelDiff, SideBySidePlacesOriginalConvertedAndDifferences) {
    Visual::Image original = filled(2, 1, {0, 0, 0, 255});
    Visual::Image converted = original;
    converted.rgba[4] = 255;  // pixel (1, 0) turns red
    Visual::Image picture = Visual::sideBySide(original, converted, 48);
    ASSERT_EQ(picture.width, 2u + 8 + 2 + 8 + 2);
    ASSERT_EQ(picture.height, 1u);
    EXPECT_EQ(pixelAt(picture, 1, 0), (Pixel{0, 0, 0, 255})) << "original";
    EXPECT_EQ(pixelAt(picture, 2, 0), (Pixel{160, 160, 160, 160})) << "gap";
    EXPECT_EQ(pixelAt(picture, 11, 0), (Pixel{255, 0, 0, 255})) << "converted";
    EXPECT_EQ(pixelAt(picture, 20, 0), (Pixel{192, 192, 192, 255})) << "equal pixel: faint copy of black";
    EXPECT_EQ(pixelAt(picture, 21, 0), (Pixel{255, 0, 0, 255})) << "differing pixel";
}

TEST(PixelDiff, PngRoundTripAndUnreadableFile) {
    Visual::Image image = filled(3, 2, {10, 20, 30, 255});
    image.rgba[5] = 200;
    std::string path = ::testing::TempDir() + "pixeldiff-roundtrip.png";
    std::string error;
    ASSERT_TRUE(Visual::writePng(path, image, error)) << error;
    Visual::Image read;
    ASSERT_TRUE(Visual::readPng(path, read, error)) << error;
    EXPECT_EQ(read.width, 3u);
    EXPECT_EQ(read.height, 2u);
    EXPECT_EQ(read.rgba, image.rgba);
    std::remove(path.c_str());

    EXPECT_FALSE(Visual::readPng(path, read, error));
    EXPECT_EQ(error.rfind(path, 0), 0u) << error;
}

}  // namespace
