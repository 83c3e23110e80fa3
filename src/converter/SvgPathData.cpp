#include "converter/Svg.h"

namespace Pictavo {

// STUB: path data is still to be written.
Orvane::Path* SVG::convertPath(const char*, Matrix&) { return new Orvane::Path(); }

}  // namespace Pictavo
