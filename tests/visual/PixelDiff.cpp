#include "visual/PixelDiff.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace Visual {

namespace {

const unsigned channels = 4;
// Keeps the three panels of a side-by-side picture apart.
const unsigned gap = 8;

bool pixelsDiffer(const std::uint8_t* a, const std::uint8_t* b, int tolerance) {
    for (unsigned c = 0; c < channels; ++c) {
        if (std::abs(a[c] - b[c]) > tolerance) return true;
    }
    return false;
}

void copyPanel(Image& target, const Image& panel, unsigned left) {
    for (unsigned y = 0; y < panel.height; ++y) {
        const std::uint8_t* from = &panel.rgba[std::size_t(y) * panel.width * channels];
        std::uint8_t* to = &target.rgba[(std::size_t(y) * target.width + left) * channels];
        std::memcpy(to, from, std::size_t(panel.width) * channels);
    }
}

Image differenceMap(const Image& original, const Image& converted, int tolerance) {
    Image map = original;
    for (std::size_t i = 0; i < map.rgba.size(); i += channels) {
        std::uint8_t* pixel = &map.rgba[i];
        if (pixelsDiffer(pixel, &converted.rgba[i], tolerance)) {
            const std::uint8_t red[channels] = {255, 0, 0, 255};
            std::memcpy(pixel, red, channels);
            continue;
        }
        int luminance = (pixel[0] * 3 + pixel[1] * 6 + pixel[2]) / 10;
        std::uint8_t faint = std::uint8_t(255 - (255 - luminance) / 4);
        const std::uint8_t grey[channels] = {faint, faint, faint, 255};
        std::memcpy(pixel, grey, channels);
    }
    return map;
}

}  // namespace

bool readPng(const std::string& path, Image& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image.width = png.width;
    image.height = png.height;
    image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

bool writePng(const std::string& path, const Image& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        return false;
    }
    return true;
}

double Difference::share() const { return total == 0 ? 0 : double(differing) / double(total); }

Difference compareImages(const Image& original, const Image& converted, int tolerance) {
    Difference difference;
    if (original.width != converted.width || original.height != converted.height) {
        difference.total = std::size_t(std::max(original.width, converted.width)) *
                           std::max(original.height, converted.height);
        difference.differing = difference.total;
        return difference;
    }
    difference.total = std::size_t(original.width) * original.height;
    for (std::size_t i = 0; i < original.rgba.size(); i += channels) {
        if (pixelsDiffer(&original.rgba[i], &converted.rgba[i], tolerance)) ++difference.differing;
    }
    return difference;
}

Image sideBySide(const Image& original, const Image& converted, int tolerance) {
    Image canvas;
    canvas.width = original.width + gap + converted.width + gap + original.width;
    canvas.height = std::max(original.height, converted.height);
    canvas.rgba.assign(std::size_t(canvas.width) * canvas.height * channels, 160);
    copyPanel(canvas, original, 0);
    copyPanel(canvas, converted, original.width + gap);
    bool comparable = original.width == converted.width && original.height == converted.height;
    if (comparable) {
        copyPanel(canvas, differenceMap(original, converted, tolerance), original.width + gap + converted.width + gap);
    }
    return canvas;
}

}  // namespace Visual
