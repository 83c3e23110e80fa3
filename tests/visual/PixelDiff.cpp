#include "visual/PixelDiff.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace Visual {

namespace {

const unsigned channels = 4;
// Keeps the three panels of a side-by-side picture apart.
const unsigned gap = 8;

void copyPanel(Image& target, const Image& panel, unsigned left) {
    for (unsigned y = 0; y < panel.height; ++y) {
        const std::uint8_t* from = &panel.rgba[std::size_t(y) * panel.width * channels];
        std::uint8_t* to = &target.rgba[(std::size_t(y) * target.width + left) * channels];
        std::memcpy(to, from, std::size_t(panel.width) * channels);
    }
}

const std::uint8_t* pixelAt(const Image& image, unsigned x, unsigned y) {
    return &image.rgba[(std::size_t(y) * image.width + x) * channels];
}

// Whether the pixel lies, channel by channel, within the range that the
// pixels of `other` around (x, y) span, widened by the tolerance. An
// anti-aliased edge takes any level between its two sides, so an edge pixel
// matches wherever the other picture has the same edge within the slack.
bool matchesNear(const std::uint8_t* pixel, const Image& other, unsigned x, unsigned y, Closeness closeness) {
    unsigned top = y > closeness.slack ? y - closeness.slack : 0;
    unsigned left = x > closeness.slack ? x - closeness.slack : 0;
    unsigned bottom = std::min(y + closeness.slack, other.height - 1);
    unsigned right = std::min(x + closeness.slack, other.width - 1);
    int lowest[channels] = {255, 255, 255, 255}, highest[channels] = {0, 0, 0, 0};
    for (unsigned nearY = top; nearY <= bottom; ++nearY) {
        for (unsigned nearX = left; nearX <= right; ++nearX) {
            const std::uint8_t* near = pixelAt(other, nearX, nearY);
            for (unsigned c = 0; c < channels; ++c) {
                lowest[c] = std::min<int>(lowest[c], near[c]);
                highest[c] = std::max<int>(highest[c], near[c]);
            }
        }
    }
    for (unsigned c = 0; c < channels; ++c) {
        if (pixel[c] < lowest[c] - closeness.tolerance || pixel[c] > highest[c] + closeness.tolerance) return false;
    }
    return true;
}

// Looked at from both pictures: from the original alone, a line that only the
// converted picture has would find the background beside it and match.
bool differsAt(const Image& original, const Image& converted, unsigned x, unsigned y, Closeness closeness) {
    return !matchesNear(pixelAt(original, x, y), converted, x, y, closeness) ||
           !matchesNear(pixelAt(converted, x, y), original, x, y, closeness);
}

Image differenceMap(const Image& original, const Image& converted, Closeness closeness) {
    Image map = original;
    for (unsigned y = 0; y < map.height; ++y) {
        for (unsigned x = 0; x < map.width; ++x) {
            std::uint8_t* pixel = &map.rgba[(std::size_t(y) * map.width + x) * channels];
            if (differsAt(original, converted, x, y, closeness)) {
                const std::uint8_t red[channels] = {255, 0, 0, 255};
                std::memcpy(pixel, red, channels);
                continue;
            }
            int luminance = (pixel[0] * 3 + pixel[1] * 6 + pixel[2]) / 10;
            std::uint8_t faint = std::uint8_t(255 - (255 - luminance) / 4);
            const std::uint8_t grey[channels] = {faint, faint, faint, 255};
            std::memcpy(pixel, grey, channels);
        }
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

Difference compareImages(const Image& original, const Image& converted, Closeness closeness) {
    Difference difference;
    if (original.width != converted.width || original.height != converted.height) {
        difference.total = std::size_t(std::max(original.width, converted.width)) *
                           std::max(original.height, converted.height);
        difference.differing = difference.total;
        return difference;
    }
    difference.total = std::size_t(original.width) * original.height;
    for (unsigned y = 0; y < original.height; ++y) {
        for (unsigned x = 0; x < original.width; ++x) {
            if (differsAt(original, converted, x, y, closeness)) ++difference.differing;
        }
    }
    return difference;
}

Image sideBySide(const Image& original, const Image& converted, Closeness closeness) {
    Image canvas;
    canvas.width = original.width + gap + converted.width + gap + original.width;
    canvas.height = std::max(original.height, converted.height);
    canvas.rgba.assign(std::size_t(canvas.width) * canvas.height * channels, 160);
    copyPanel(canvas, original, 0);
    copyPanel(canvas, converted, original.width + gap);
    bool comparable = original.width == converted.width && original.height == converted.height;
    if (comparable) {
        copyPanel(canvas, differenceMap(original, converted, closeness), original.width + gap + converted.width + gap);
    }
    return canvas;
}

}  // namespace Visual
