#pragma once

#include <cstddef>
#include <cstdio>
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

    bool closed;
    bool isLine;
    std::vector<PathSegment> segments;
    std::vector<Stroke> strokes;
    std::vector<Fill> fills;
    std::vector<Path*> subpaths;  // owned
    float localScale[2];
    float bounds[2][2];  // [0] = min x, max x; [1] = min y, max y
    bool bounded;        // whether bounds hold a segment's points yet

    Path();
    ~Path() override;

    void addSegment(const PathSegment& segment);
    void addSubpath(Path* subpath);

    void exportXML(FILE* file, int index) override;
    // Appends this figure's path data, mapped into the frame's box; false
    // when a mapped number is not finite.
    bool writePath(std::string& text, const Path* frame);
    PathSegment convertSegmentToLocal(const PathSegment& segment, const Path* frame);
};

}  // namespace Orvane
