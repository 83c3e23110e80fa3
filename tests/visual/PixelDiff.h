#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Visual {

// An 8-bit RGBA picture, rows top to bottom.
struct Image {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint8_t> rgba;
};

bool readPng(const std::string& path, Image& image, std::string& error);
bool writePng(const std::string& path, const Image& image, std::string& error);

struct Difference {
    std::size_t differing = 0;
    std::size_t total = 0;
    double share() const;
};

// Two pixels differ when any channel differs by more than `tolerance`: edges
// that two renderers anti-alias a little apart still count as equal. Pictures
// of different sizes differ everywhere.
Difference compareImages(const Image& original, const Image& converted, int tolerance);

// The original, the converted picture and a map of their differences side by
// side: on the map differing pixels are red, the rest a faint copy of the
// original.
Image sideBySide(const Image& original, const Image& converted, int tolerance);

}  // namespace Visual
