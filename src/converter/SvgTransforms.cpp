#include "converter/Svg.h"

namespace Pictavo {

// STUB: transform lists and the viewBox are still to be written.
int SVG::convertTransform(const char*, Matrix&) { return 0; }
int SVG::convertViewbox(const char*, int&, int&, bool, Matrix&) { return 1; }

}  // namespace Pictavo
