#pragma once

#include <optional>
#include <string_view>

#include "converter/Lengths.h"
#include "converter/PathGeometry.h"
#include "presentation/Point.h"

namespace Pictavo {

class Document;
class Element;

// The path a textPath element sets its text on: the geometry of the path
// element its href names, in that path's user units. Nothing when the
// reference names no path with data.
std::optional<PathGeometry> textPathGeometry(const Document& document, const Element& textPath);

// The point `startOffset` along the first figure of the geometry (a length,
// or a percentage of the figure's length), where text on the path starts;
// an offset outside the figure is taken at its nearer end.
Orvane::Point pointAlong(const PathGeometry& geometry, std::string_view startOffset,
                         const LengthContext& context);

}  // namespace Pictavo
