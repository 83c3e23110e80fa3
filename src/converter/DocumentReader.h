#pragma once

#include "converter/Document.h"

namespace Pictavo {

// Reads the SVG file at `path` into `document`. When the parse fails, for
// whatever reason, prints "<file>:<line>: <message>" on standard error and
// returns false. Throws std::bad_alloc when memory runs out, in libxml2 or
// here.
bool readDocument(const char* path, Document& document);

}  // namespace Pictavo
