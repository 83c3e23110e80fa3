#include "converter/Svg.h"

namespace Pictavo {

// STUB: the walk is still to be written.
SVG::SVG(Orvane::Keynote& keynote) : keynote(keynote), kappa(0.5522848f) { initializeColors(); }
SVG::~SVG() = default;
int SVG::convert(const char*) { return 0; }
int SVG::crawlElement(xmlNode*, Matrix, AttributeMap) { return 0; }
int SVG::convertElement(xmlNode*, Matrix&, AttributeMap&) { return 0; }

}  // namespace Pictavo
