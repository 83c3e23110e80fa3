#pragma once

#include "converter/ImageSource.h"
#include "converter/Report.h"
#include "presentation/Slide.h"

namespace Pictavo {

// Converts one SVG document into drawables handed to a presentation.
class SVG {
public:
    Orvane::Slide& slide;
    Report report;            // what the conversion left out or approximated
    ImageLoader images;       // the drawing's images, read once each

    explicit SVG(Orvane::Slide& slide);
    SVG(const SVG&) = delete;
    SVG& operator=(const SVG&) = delete;
    ~SVG();

    // Reads the drawing at `path`, then draws it onto the slide: 0 when it
    // was drawn whole, else 1 after saying why on standard output. Throws
    // std::bad_alloc when memory runs out.
    int convert(const char* path);
};

}  // namespace Pictavo
