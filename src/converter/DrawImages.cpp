#include <climits>
#include <cmath>
#include <limits>
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

struct Box {
    float x, y, width, height;
};

// The image's box in user space: an auto side (or one that does not read)
// follows the pixel size, or keeps the pixels' proportions when the other
// side is given.
Box imageBox(const Frame& frame, const ImageHeader& pixels) {
    const float pixelWidth = static_cast<float>(pixels.width);
    const float pixelHeight = static_cast<float>(pixels.height);
    const float automatic = std::numeric_limits<float>::quiet_NaN();
    float width = attributeLength(frame, Name::Width, Axis::Horizontal, automatic);
    float height = attributeLength(frame, Name::Height, Axis::Vertical, automatic);
    if (std::isnan(width) && std::isnan(height)) {
        width = pixelWidth;
        height = pixelHeight;
    } else if (std::isnan(height)) {
        height = width * pixelHeight / pixelWidth;
    } else if (std::isnan(width)) {
        width = height * pixelWidth / pixelHeight;
    }
    return Box{attributeLength(frame, Name::X, Axis::Horizontal), attributeLength(frame, Name::Y, Axis::Vertical),
               width, height};
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
    const ImageLoader::Loaded* loaded = svg.images.load(element.href());
    const Box box = loaded && drawable(loaded->header) ? imageBox(frame, loaded->header) : Box{0, 0, 0, 0};
    if (!(box.width > 0 && box.height > 0)) {
        svg.report.notCarried(imageKind);
        return;
    }
    const ImageHeader& header = loaded->header;
    const ViewBox pixels{0, 0, static_cast<float>(header.width), static_cast<float>(header.height)};
    const Attribute* aspect = element.attribute(Name::PreserveAspectRatio);
    const AspectRatio ratio = readAspectRatio(aspect != nullptr ? aspect->text() : std::string_view());
    // The slide cannot clip the overflow.
    if (ratio.slice && ratio.align != AspectRatio::None) svg.report.approximated(slicedImageKind);
    Matrix m = frame.ctm;
    m.multiplyFromRight(viewBoxTransform(pixels, ratio, box.x, box.y, box.width, box.height));
    auto image = std::make_unique<Orvane::Image>(loaded->bytes, extensionOf(header.type),
                                                 static_cast<int>(header.width), static_cast<int>(header.height));
    if (const Attribute* id = element.attribute(Name::Id)) image->displayName = id->text();
    if (image->displayName.empty()) image->displayName = "image";
    image->opacity = frame.opacity;
    image->setTransformation(m.m[0], m.m[3], m.m[1], m.m[4], 0, 0);
    image->setPosition(m.m[2], m.m[5]);
    svg.slide.add(std::move(image));
}

}  // namespace Pictavo
