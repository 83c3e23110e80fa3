#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "converter/Document.h"
#include "converter/Colors.h"
#include "converter/PaintValues.h"
#include "converter/Report.h"

namespace Pictavo {

// One gradient stop: its offset as a fraction of the gradient vector, its
// colour with stop-opacity already multiplied into the alpha.
struct GradientStop {
    float offset = 0;
    Rgba color;
};

// SVG's stop rules: offsets clamped to 0..1, and each raised to the largest
// offset before it, so that stops never go backwards.
void orderStops(std::vector<GradientStop>& stops);

enum class GradientShape { Linear, Radial };

// The one flat colour that best stands in for a gradient whose stops are
// ordered: the average of its colour over offsets 0 to 1, the first stop's
// colour before it and the last's after it. A linear gradient weighs every
// offset alike; a radial one by the area of its ring (offset t has weight 2t).
// Nothing when there are no stops.
std::optional<Rgba> averageGradientColor(const std::vector<GradientStop>& stops,
                                         GradientShape shape);

// A stop's offset attribute: a number, or a percentage of the vector; 0 when
// it is neither.
float readStopOffset(std::string_view text);

inline constexpr Report::Kind gradientAsSolidColour{"gradient (solid colour)",
                                                    "gradients (solid colour)"};
inline constexpr Report::Kind patternNotCarried{"pattern", "patterns"};

// What url(#id) paints. A gradient paints its average colour; the stops come
// from the first gradient along its href chain that has any. A pattern
// cannot be carried and, like a reference to nothing or to an element that is
// no paint server, paints the fallback colour written after the reference,
// or nothing. Each server is resolved, and reported, once.
class PaintServers {
public:
    // A stop's colour from its cascaded stop-color and stop-opacity.
    using StopColor = std::function<Rgba(const Element& stop)>;

    PaintServers(const Document& document, Report& report, StopColor stopColor);

    // The colour a server reference paints (currentColor possible in a
    // fallback), or nothing.
    std::optional<ColorValue> resolve(const Paint& paint);

private:
    const Document& document;
    Report& report;
    StopColor stopColor;
    std::optional<Name> offsetName;  // none when no element has the attribute
    std::unordered_map<const Element*, std::optional<Rgba>> gradientColors;
    std::unordered_set<const Element*> reportedPatterns;

    const std::optional<Rgba>& gradientColor(const Element& gradient);
    const Element* stopsOwner(const Element& gradient) const;
    std::vector<GradientStop> stopsOf(const Element& owner) const;
};

}  // namespace Pictavo
