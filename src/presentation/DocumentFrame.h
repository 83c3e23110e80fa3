#pragma once

#include <string>

namespace Orvane {

// The fixed text around the slide's drawables: the header, which holds the
// slide size, ends where the drawables begin, and the footer follows them.
void appendDocumentHeader(std::string& document, int width, int height);
void appendDocumentFooter(std::string& document);

}  // namespace Orvane
