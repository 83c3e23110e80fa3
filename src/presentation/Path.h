#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "presentation/PathSegment.h"
#include "presentation/TransformableShape.h"

namespace Orvane {

// A drawable figure of straight and cubic segments in slide coordinates, with
// its fills and strokes; later figures of a compound path are its subpaths.
class Path : public TransformableShape {
public:
    class Color {
    public:
        bool gradient = false;
        float color[2][4] = {{0, 0, 0, 1}, {0, 0, 0, 1}};  // plain/start and end colour, r g b a
        float angle = 0;
    };

    class Fill {
    public:
        Color color;
    };

    class Stroke {
    public:
        Color color;
        float width = 1;
        bool solid = true;
        std::string pattern;  // dash pattern, written when solid is false

        // The longest pattern kept, in bytes.
        static constexpr std::size_t patternLimit = 1023;

        // Stores the dash pattern, cut to `patternLimit` bytes.
        void setPattern(std::string_view text);
    };

    bool closed = false;
    bool isLine = false;
    std::vector<PathSegment> segments;
    std::vector<Stroke> strokes;
    std::vector<Fill> fills;
    std::vector<std::unique_ptr<Path>> subpaths;

    void addSegment(const PathSegment& segment);
    void addSubpath(std::unique_ptr<Path> subpath);

    // The path data is written in a box from 0 to 100 on both axes, which
    // the written transformation maps onto the bounds of all figures.
    void write(std::string& document, int index) const override;

private:
    // The bounds of every figure's end points, once `bounded`: [0] = min x,
    // max x; [1] = min y, max y.
    float bounds[2][2] = {{0, 0}, {0, 0}};
    bool bounded = false;
};

}  // namespace Orvane
