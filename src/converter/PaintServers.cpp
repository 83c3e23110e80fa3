#include "converter/PaintServers.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "converter/ValueScanner.h"

namespace Pictavo {

void orderStops(std::vector<GradientStop>& stops) {
    float largest = 0;
    for (GradientStop& stop : stops) {
        largest = std::max(largest, std::clamp(stop.offset, 0.0f, 1.0f));
        stop.offset = largest;
    }
}

namespace {

// A colour with its components multiplied by its alpha, the alpha last.
using Premultiplied = std::array<double, 4>;

// Stops interpolate each component, alpha included, on its own, as SVG
// defines; what the eye sees of an offset is that colour composited over the
// background, which depends only on the premultiplied colour. So the
// integrand is premultiplied after interpolating.
Premultiplied premultipliedBetween(const Rgba& from, const Rgba& to, double fraction) {
    auto mix = [fraction](float a, float b) { return a + (b - a) * fraction; };
    const double alpha = mix(from.a, to.a);
    return {mix(from.r, to.r) * alpha, mix(from.g, to.g) * alpha, mix(from.b, to.b) * alpha, alpha};
}

double weight(GradientShape shape, double offset) {
    return shape == GradientShape::Radial ? 2 * offset : 1;
}

// Adds the integral of weight times premultiplied colour from one stop to the
// next. The integrand is a polynomial of at most third degree there (two
// linear factors, times the linear radial weight), which Simpson's rule
// integrates exactly.
void addInterval(const GradientStop& from, const GradientStop& to, GradientShape shape,
                 Premultiplied& sum) {
    const double width = double(to.offset) - from.offset;
    if (width <= 0) return;
    const double middle = from.offset + width / 2;
    const Premultiplied start = premultipliedBetween(from.color, to.color, 0);
    const Premultiplied centre = premultipliedBetween(from.color, to.color, 0.5);
    const Premultiplied end = premultipliedBetween(from.color, to.color, 1);
    for (std::size_t i = 0; i < sum.size(); ++i) {
        sum[i] += width / 6 *
                  (weight(shape, from.offset) * start[i] + 4 * weight(shape, middle) * centre[i] +
                   weight(shape, to.offset) * end[i]);
    }
}

}  // namespace

// The flat colour composited over any background gives the mean of the
// gradient's composites over it exactly when its alpha is the mean alpha and
// its premultiplied colour the mean premultiplied colour (both weights
// integrate to 1 over 0..1).
std::optional<Rgba> averageGradientColor(const std::vector<GradientStop>& stops,
                                         GradientShape shape) {
    if (stops.empty()) return std::nullopt;
    if (stops.size() == 1) return stops.front().color;
    Premultiplied sum{0, 0, 0, 0};
    addInterval({0, stops.front().color}, stops.front(), shape, sum);
    for (std::size_t i = 1; i < stops.size(); ++i) addInterval(stops[i - 1], stops[i], shape, sum);
    addInterval(stops.back(), {1, stops.back().color}, shape, sum);
    const double alpha = sum[3];
    if (alpha <= 0) return Rgba{0, 0, 0, 0};
    return Rgba{float(sum[0] / alpha), float(sum[1] / alpha), float(sum[2] / alpha),
                float(std::min(alpha, 1.0))};
}

float readStopOffset(std::string_view text) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    float offset = 0;
    if (!scanner.number(offset)) return 0;
    if (scanner.character('%')) offset /= 100;
    scanner.skipSpace();
    return scanner.atEnd() ? offset : 0;
}

namespace {

bool isGradient(const Element& element) {
    return element.name == Name::LinearGradient || element.name == Name::RadialGradient;
}

// A chain of href references this long is a loop or a hostile document.
const int hrefChainLimit = 64;

bool hasStops(const Element& element) {
    for (const Element* child = element.firstChild; child != nullptr; child = child->nextSibling)
        if (child->name == Name::Stop) return true;
    return false;
}

bool allAlike(const std::vector<GradientStop>& stops) {
    for (const GradientStop& stop : stops) {
        const Rgba& a = stop.color;
        const Rgba& b = stops.front().color;
        if (a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a) return false;
    }
    return true;
}

}  // namespace

PaintServers::PaintServers(const Document& document, Report& report, StopColor stopColor)
    : document(document),
      report(report),
      stopColor(std::move(stopColor)),
      offsetName(document.findName("offset")) {}

std::optional<ColorValue> PaintServers::resolve(const Paint& paint) {
    const Element* server = document.elementById(paint.id);
    if (server != nullptr && isGradient(*server)) {
        const std::optional<Rgba>& color = gradientColor(*server);
        if (!color) return std::nullopt;
        return ColorValue{false, *color};
    }
    if (server != nullptr && server->name == Name::Pattern &&
        reportedPatterns.insert(server).second)
        report.notCarried(patternNotCarried);
    if (paint.hasFallback && !paint.fallbackNone) return paint.fallback;
    return std::nullopt;
}

const std::optional<Rgba>& PaintServers::gradientColor(const Element& gradient) {
    auto known = gradientColors.find(&gradient);
    if (known != gradientColors.end()) return known->second;
    const Element* owner = stopsOwner(gradient);
    std::vector<GradientStop> stops;
    if (owner != nullptr) stops = stopsOf(*owner);
    const GradientShape shape = gradient.name == Name::RadialGradient ? GradientShape::Radial
                                                                       : GradientShape::Linear;
    if (!allAlike(stops)) report.approximated(gradientAsSolidColour);
    return gradientColors.emplace(&gradient, averageGradientColor(stops, shape)).first->second;
}

// SVG takes a gradient's stops from the gradient it references when it has
// none of its own, and so on along the chain.
const Element* PaintServers::stopsOwner(const Element& gradient) const {
    const Element* candidate = &gradient;
    for (int step = 0; step < hrefChainLimit && candidate != nullptr; ++step) {
        if (hasStops(*candidate)) return candidate;
        candidate = document.referencedBy(*candidate);
        if (candidate != nullptr && !isGradient(*candidate)) return nullptr;
    }
    return nullptr;
}

std::vector<GradientStop> PaintServers::stopsOf(const Element& owner) const {
    std::vector<GradientStop> stops;
    for (const Element* child = owner.firstChild; child != nullptr; child = child->nextSibling) {
        if (child->name != Name::Stop) continue;
        const Attribute* offset = offsetName ? child->attribute(*offsetName) : nullptr;
        stops.push_back({offset != nullptr ? readStopOffset(offset->text()) : 0, stopColor(*child)});
    }
    orderStops(stops);
    return stops;
}

}  // namespace Pictavo
