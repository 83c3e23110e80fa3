#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "converter/Drawing.h"
#include "converter/ImageSource.h"
#include "converter/Lengths.h"
#include "converter/Svg.h"
#include "converter/Transforms.h"
#include "presentation/Image.h"

namespace Pictavo {

inline constexpr Report::Kind imageKind{"image", "images"};
inline constexpr Report::Kind slicedImageKind{"image sliced (shown whole)", "images sliced (shown whole)"};

namespace {

const char* extensionOf(ImageType type) {
    switch (type) {
        case ImageType::Png: return "png";
        case ImageType::Jpeg: return "jpg";
        case ImageType::Gif: return "gif";
    }
    return "png";
}

std::string_view textOf(const Element& element, Name name) {
    const Attribute* attribute = element.attribute(name);
    return attribute != nullptr ? attribute->text() : std::string_view();
}

float userLength(const Element& element, Name name, Axis axis, const LengthContext& context) {
    const std::optional<Length> length = readLength(textOf(element, name));
    return length ? userUnits(*length, axis, context) : 0;
}

// width or height: nothing for auto, the initial value, which also stands
// for a value that does not read.
std::optional<float> givenSide(const Element& element, Name name, Axis axis, const LengthContext& context) {
    const std::optional<Length> length = readLength(textOf(element, name));
    if (!length) return std::nullopt;
    return userUnits(*length, axis, context);
}

struct Box {
    float x, y, width, height;
};

// The image's box in user space: an auto side follows the pixel size, or
// keeps the pixels' proportions when the other side is given.
Box imageBox(const Element& element, const ImageHeader& pixels, const LengthContext& context) {
    const float pixelWidth = static_cast<float>(pixels.width);
    const float pixelHeight = static_cast<float>(pixels.height);
    const std::optional<float> width = givenSide(element, Name::Width, Axis::Horizontal, context);
    const std::optional<float> height = givenSide(element, Name::Height, Axis::Vertical, context);
    Box box{userLength(element, Name::X, Axis::Horizontal, context),
            userLength(element, Name::Y, Axis::Vertical, context), pixelWidth, pixelHeight};
    if (width && height) {
        box.width = *width;
        box.height = *height;
    } else if (width) {
        box.width = *width;
        box.height = *width * pixelHeight / pixelWidth;
    } else if (height) {
        box.height = *height;
        box.width = *height * pixelWidth / pixelHeight;
    }
    return box;
}

bool drawable(const ImageHeader& header) {
    return header.width > 0 && header.height > 0 && header.width <= INT_MAX && header.height <= INT_MAX;
}

}  // namespace

// The image's pixels, from (0, 0) to its pixel size, are mapped into its box
// as preserveAspectRatio says, and by the current matrix onto the slide.
void Drawing::drawImage(const Frame& frame) {
    if (!frame.style.visible || frame.opacity <= 0) return;
    const Element& element = *frame.element;
    std::string_view href = textOf(element, Name::Href);
    if (href.empty()) href = textOf(element, Name::XlinkHref);
    const ImageLoader::Loaded* loaded = svg.images.load(href);
    const LengthContext context{frame.style.fontSize, frame.viewport.width, frame.viewport.height};
    const Box box = loaded && drawable(loaded->header) ? imageBox(element, loaded->header, context) : Box{0, 0, 0, 0};
    if (!(box.width > 0 && box.height > 0)) {
        svg.report.notCarried(imageKind);
        return;
    }
    const ImageHeader& header = loaded->header;
    const ViewBox pixels{0, 0, static_cast<float>(header.width), static_cast<float>(header.height)};
    const AspectRatio ratio = readAspectRatio(textOf(element, Name::PreserveAspectRatio));
    // The slide cannot clip the overflow.
    if (ratio.slice && ratio.align != AspectRatio::None) svg.report.approximated(slicedImageKind);
    Matrix m = frame.ctm;
    m.multiplyFromRight(viewBoxTransform(pixels, ratio, box.x, box.y, box.width, box.height));
    auto image = std::make_unique<Orvane::Image>(loaded->bytes, extensionOf(header.type),
                                                 static_cast<int>(header.width), static_cast<int>(header.height));
    image->displayName = textOf(element, Name::Id);
    if (image->displayName.empty()) image->displayName = "image";
    image->opacity = frame.opacity;
    image->setTransformation(m.m[0], m.m[3], m.m[1], m.m[4], 0, 0);
    image->setPosition(m.m[2], m.m[5]);
    svg.slide.add(std::move(image));
}

}  // namespace Pictavo
