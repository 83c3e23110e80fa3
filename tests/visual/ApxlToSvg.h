#pragma once

#include <string>

namespace Visual {

// Turns the slide of an APXL document back into an SVG drawing of the slide's
// size, so that a renderer can put it beside the drawing it was made from.
// Shapes and lines become paths in slide coordinates with their fill and
// stroke; text boxes become text; images refer to their files by name, as
// the document does, so the drawing is read from the bundle folder. Returns false, with `error` set, when the
// text is not a readable APXL document.
bool apxlToSvg(const std::string& apxl, std::string& svg, std::string& error);

}  // namespace Visual
