#pragma once

#include <string>
#include <vector>

#include "converter/Matrix.h"
#include "converter/PathGeometry.h"
#include "converter/Report.h"
#include "presentation/Path.h"
#include "presentation/PathSegment.h"
#include "presentation/Slide.h"

namespace Pictavo {

// Converts one SVG document into drawables handed to a presentation.
class SVG {
public:
    Orvane::Slide& slide;
    Report report;            // what the conversion left out or approximated

    explicit SVG(Orvane::Slide& slide);
    SVG(const SVG&) = delete;
    SVG& operator=(const SVG&) = delete;
    ~SVG();

    // Reads the drawing at `path`, then draws it onto the slide: 0 when it
    // was drawn whole, else 1 after saying why on standard output. Throws
    // std::bad_alloc when memory runs out.
    int convert(const char* path);

    // Transform lists and the viewBox.
    int convertTransform(const char* text, Matrix& ctm);
    int convertViewbox(const char* text, int& width, int& height, bool sizeGiven, Matrix& ctm);

    // Path data.
    Orvane::Path* convertPath(const char* data, Matrix& ctm);

    // Basic shapes.
    Orvane::Path* convertCircle(float cx, float cy, float r, Matrix& ctm);
    Orvane::Path* convertEllipse(float cx, float cy, float rx, float ry, Matrix& ctm);
    Orvane::Path* convertRectangle(float x, float y, float width, float height, Matrix& ctm);
    Orvane::Path* convertRoundedRectangle(float x, float y, float width, float height, float rx,
                                          float ry, Matrix& ctm);
    Orvane::Path* convertLine(float x1, float y1, float x2, float y2, Matrix& ctm);
    Orvane::Path* convertPolygon(const char* points, bool closed, Matrix& ctm);

private:
    // The geometry of the shape being read, kept between shapes so that its
    // room is allocated once.
    PathGeometry geometry;
};

}  // namespace Pictavo
