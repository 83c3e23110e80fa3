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

// How near two pictures' pixels must be to count as equal. The defaults are
// those of the visual round trip.
struct Closeness {
    // Two pixels match when no channel differs by more than this: anti-aliased
    // edges of the same geometry differ by a few levels between two renderers,
    // a geometric or colour fault by far more.
    int tolerance = 16;
    // A pixel differs only when the other picture has nothing like it within
    // this many pixels of the same place (diagonals included): no pixel
    // there, nor a level between two of them, as an anti-aliased edge takes.
    // Looked at from both pictures. Renderers that place an edge a pixel
    // apart still match; a missing or added line, a wrong colour do not.
    unsigned slack = 1;
};

// Pictures of different sizes differ everywhere.
Difference compareImages(const Image& original, const Image& converted, Closeness closeness);

// The original, the converted picture and a map of their differences side by
// side: on the map differing pixels are red, the rest a faint copy of the
// original.
Image sideBySide(const Image& original, const Image& converted, Closeness closeness);

}  // namespace Visual
