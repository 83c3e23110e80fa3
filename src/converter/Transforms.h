#pragma once

#include <optional>
#include <string_view>

#include "converter/Lengths.h"
#include "converter/Matrix.h"

namespace Pictavo {

// Multiplies the transform list in `text` into `product` from the right (the
// list's leftmost function reaches the points last). Reads SVG's lists
// (commas or white space, rotate(a cx cy), bare numbers) and CSS transform
// functions (units on lengths and angles, translateX/Y, scaleX/Y, skew,
// `none`); lengths in em, ex and per cent resolve against `context`. An
// invalid list is ignored whole, as SVG says: false, `product` unchanged.
bool readTransform(std::string_view text, Matrix& product,
                   const LengthContext& context = LengthContext());

struct ViewBox {
    float x, y, width, height;
};

// Four numbers; nothing when there are not four or a side is not positive
// and finite (such a viewBox maps nothing anywhere).
std::optional<ViewBox> readViewBox(std::string_view text);

struct AspectRatio {
    enum Align {
        None,
        XMinYMin,
        XMidYMin,
        XMaxYMin,
        XMinYMid,
        XMidYMid,
        XMaxYMid,
        XMinYMax,
        XMidYMax,
        XMaxYMax
    } align = XMidYMid;
    bool slice = false;
};

// preserveAspectRatio; an invalid value gives the default, xMidYMid meet.
AspectRatio readAspectRatio(std::string_view text);

// The matrix that maps the viewBox into the viewport rectangle x, y, width,
// height, as preserveAspectRatio asks.
Matrix viewBoxTransform(const ViewBox& box, const AspectRatio& ratio, float x, float y, float width,
                        float height);

}  // namespace Pictavo
