#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "converter/Matrix.h"
#include "presentation/Path.h"
#include "presentation/PathSegment.h"

namespace Pictavo {

// The end of one figure: its segments are [previous figure's end, end).
struct FigureEnd {
    std::size_t end;
    bool closed;
};

// Geometry in user space, before any matrix: flat segments with figure ends,
// so that a reader allocates nothing per figure and a caller that keeps one
// PathGeometry reuses its room from element to element. Figures without
// segments are not kept.
struct PathGeometry {
    std::vector<Orvane::PathSegment> segments;
    std::vector<FigureEnd> figures;

    void clear() {
        segments.clear();
        figures.clear();
    }
};

// Each reader below replaces what `out` held.

// Path data as SVG reads it: drawing stops at the first error, keeping what
// came before it; an incomplete last group of numbers is dropped.
void readPathData(std::string_view data, PathGeometry& out);
// A points list: coordinate pairs up to the first error; an odd last number
// is dropped.
void readPoints(std::string_view points, bool closed, PathGeometry& out);

// Basic shapes. A size that is not positive draws nothing, as SVG says.
// Circles and ellipses start at (cx + rx, cy) and run clockwise on the screen
// (y downwards), so that dash patterns fall where SVG puts them.
void ellipseOutline(float cx, float cy, float rx, float ry, PathGeometry& out);
// Corner radii: a negative one is not given and takes the other's value;
// each is limited to half its side; a zero radius leaves square corners.
void rectangleOutline(float x, float y, float width, float height, float rx, float ry,
                      PathGeometry& out);
void lineOutline(float x1, float y1, float x2, float y2, PathGeometry& out);

// The geometry mapped through `ctm` as one drawable path: the first figure
// is the path, each later one a subpath.
std::unique_ptr<Orvane::Path> mappedPath(const PathGeometry& geometry, const Matrix& ctm);

}  // namespace Pictavo
