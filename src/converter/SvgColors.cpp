#include "converter/Svg.h"

namespace Pictavo {

// STUB: the colour table is still to be written.
int SVG::initializeColors() { return 0; }

}  // namespace Pictavo
