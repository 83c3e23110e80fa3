#pragma once

// Stand-ins for the value readers' types until they land; removed on rebase.

#include <string_view>

namespace Pictavo {

struct Rgba { float r = 0, g = 0, b = 0, a = 1; };
struct ColorValue { bool current = false; Rgba rgba; };
struct Paint { enum Type { None, Color, Server } type = None; ColorValue color; std::string_view id;
               bool hasFallback = false; ColorValue fallback; bool fallbackNone = false; };

}  // namespace Pictavo
