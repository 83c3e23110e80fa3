#pragma once

// Stand-ins for the value readers' types until they land; removed on rebase.

#include <cstddef>
#include <vector>

#include "presentation/PathSegment.h"

namespace Pictavo {

struct Rgba { float r = 0, g = 0, b = 0, a = 1; };

struct FigureEnd { std::size_t end; bool closed; };
struct PathGeometry {
    std::vector<Orvane::PathSegment> segments;
    std::vector<FigureEnd> figures;
    void clear() { segments.clear(); figures.clear(); }
};

}  // namespace Pictavo
