#include "converter/Svg.h"

namespace Pictavo {

// STUB: paint and style are still to be written.
Declarations SVG::parseStyle(const char*) const { return Declarations(); }
int SVG::convertStyle(Orvane::Path*, AttributeMap&, float) { return 0; }
int SVG::convertStroke(Orvane::Path*, AttributeMap&, float) { return 0; }
int SVG::convertFill(Orvane::Path*, AttributeMap&) { return 0; }
int SVG::convertOtherAttributes(Orvane::Path*, AttributeMap&) { return 0; }
bool SVG::colorValue(const char*, Orvane::Path::Color&) const { return true; }

}  // namespace Pictavo
