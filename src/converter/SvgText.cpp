#include "converter/Svg.h"

namespace Pictavo {

// STUB: text elements are still to be written.
int SVG::convertText(xmlNode*, AttributeMap&, Matrix&) { return 1; }

}  // namespace Pictavo
