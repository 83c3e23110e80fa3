#include <string>
#include <utility>
#include <vector>

#include "converter/Drawing.h"
#include "converter/Lengths.h"
#include "presentation/Format.h"
#include "presentation/Path.h"

namespace Pictavo {

namespace {

Orvane::Path::Color pathColor(const Rgba& rgba, float opacity) {
    Orvane::Path::Color color;
    color.color[0][0] = rgba.r;
    color.color[0][1] = rgba.g;
    color.color[0][2] = rgba.b;
    color.color[0][3] = rgba.a * opacity;
    return color;
}

// The writer's dash pattern: each dash and gap as a multiple of the stroke
// width, both in user units, separated by single spaces.
std::string dashPattern(const std::vector<float>& lengths, float strokeWidth) {
    std::string pattern;
    for (const float length : lengths) {
        if (!pattern.empty()) pattern += ' ';
        Orvane::Format::number(pattern, length / strokeWidth);
    }
    return pattern;
}

}  // namespace

std::optional<Rgba> paintColor(const Paint& paint, const ComputedStyle& style) {
    const bool server = paint.type == Paint::Server;
    if (paint.type == Paint::None || (server && (!paint.hasFallback || paint.fallbackNone)))
        return std::nullopt;
    const ColorValue& color = server ? paint.fallback : paint.color;
    return color.current ? style.color : color.rgba;
}

void paint(Orvane::Path& path, const Frame& frame, float sizeScale) {
    const ComputedStyle& style = frame.style;
    if (const std::optional<Rgba> color = paintColor(style.stroke, style)) {
        const LengthContext context = lengthContext(frame);
        const float width = userUnits(style.strokeWidth, Axis::Diagonal, context);
        Orvane::Path::Stroke stroke;
        stroke.color = pathColor(*color, frame.opacity);
        stroke.width = width * sizeScale;
        const std::vector<float> dashes = width > 0 && !style.strokeDashArray.empty()
                                              ? readDashArray(style.strokeDashArray, Axis::Diagonal, context)
                                              : std::vector<float>();
        if (!dashes.empty()) {
            stroke.setPattern(dashPattern(dashes, width));
            stroke.solid = false;
        }
        path.strokes.push_back(std::move(stroke));
    }
    if (const std::optional<Rgba> color = paintColor(style.fill, style)) {
        Orvane::Path::Fill fill;
        fill.color = pathColor(*color, frame.opacity);
        path.fills.push_back(fill);
    }
}

}  // namespace Pictavo
