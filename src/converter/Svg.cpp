#include "converter/Svg.h"

#include <cstdio>

#include "converter/Document.h"
#include "converter/DocumentReader.h"
#include "converter/Drawing.h"

namespace Pictavo {

SVG::SVG(Orvane::Slide& slide) : slide(slide) {}

SVG::~SVG() = default;

// The whole document is read before anything is drawn: references point
// forwards as well as back.
int SVG::convert(const char* path) {
    Document document;
    if (!readDocument(path, document)) {
        std::printf("error: could not parse file %s\n", path);
        return 1;
    }
    images = ImageLoader();
    images.origin = imageOrigin(path);
    try {
        Drawing(*this, document).run();
    } catch (const UseBoundExceeded&) {
        std::printf("error: too many elements drawn through use in %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace Pictavo
