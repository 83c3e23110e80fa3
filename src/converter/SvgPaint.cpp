#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "converter/DashOffset.h"
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
// width, both in user units, separated by single spaces. A pattern too long
// for the stroke to keep loses whole dash and gap pairs from its end, so that
// dashes stay dashes.
std::string dashPattern(const std::vector<float>& lengths, float strokeWidth) {
    std::string pattern;
    std::string pair;
    for (std::size_t i = 0; i + 1 < lengths.size(); i += 2) {
        pair.clear();
        if (!pattern.empty()) pair += ' ';
        Orvane::Format::numbers(pair, {lengths[i] / strokeWidth, lengths[i + 1] / strokeWidth});
        if (pattern.size() + pair.size() > Orvane::Path::Stroke::patternLimit) break;
        pattern += pair;
    }
    return pattern;
}

// The dash array begun where stroke-dashoffset says, when a pattern can
// begin there; empty for a solid line.
std::vector<float> dashes(const ComputedStyle& style, const LengthContext& context) {
    if (style.strokeDashArray.empty()) return {};
    return dashesFromOffset(readDashArray(style.strokeDashArray, Axis::Diagonal, context),
                            userUnits(style.strokeDashOffset, Axis::Diagonal, context));
}

}  // namespace

// A server paints what the paint servers make of it: a gradient's average,
// else the fallback.
std::optional<Rgba> Drawing::paintColor(const Paint& paint, const ComputedStyle& style, float paintOpacity) {
    std::optional<ColorValue> value;
    if (paint.type == Paint::Color) value = paint.color;
    if (paint.type == Paint::Server) value = servers.resolve(paint);
    if (!value) return std::nullopt;
    Rgba color = value->current ? style.color : value->rgba;
    color.a *= paintOpacity;
    return color;
}

// A stop's colour is read in the gradient's place in the tree: currentColor
// there is the colour the gradient's ancestors give.
Rgba Drawing::stopColor(const Element& stop) {
    const ComputedStyle& style = styleInPlace(stop);
    Rgba color = style.stopColor.current ? style.color : style.stopColor.rgba;
    color.a *= style.stopOpacity;
    return color;
}

void Drawing::paint(Orvane::Path& path, const Frame& frame, float sizeScale) {
    const ComputedStyle& style = frame.style;
    if (const std::optional<Rgba> color = paintColor(style.stroke, style, style.strokeOpacity)) {
        const LengthContext context = lengthContext(frame);
        const float width = userUnits(style.strokeWidth, Axis::Diagonal, context);
        Orvane::Path::Stroke stroke;
        stroke.color = pathColor(*color, frame.opacity);
        stroke.width = width * sizeScale;
        const std::vector<float> pattern = width > 0 ? dashes(style, context) : std::vector<float>();
        if (!pattern.empty()) {
            stroke.setPattern(dashPattern(pattern, width));
            stroke.solid = false;
        }
        path.strokes.push_back(std::move(stroke));
    }
    // A line has no interior: SVG never fills it, whatever fill it inherits.
    if (frame.element->name == Name::Line) return;
    if (const std::optional<Rgba> color = paintColor(style.fill, style, style.fillOpacity)) {
        Orvane::Path::Fill fill;
        fill.color = pathColor(*color, frame.opacity);
        path.fills.push_back(fill);
    }
}

}  // namespace Pictavo
