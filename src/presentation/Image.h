#pragma once

#include <memory>
#include <string>

#include "presentation/TransformableShape.h"

namespace Orvane {

// A raster image: its file's bytes, stored in the bundle when the image is
// added to a slide, and the transformation that maps its pixels, from (0, 0)
// to its pixel size, onto the slide.
class Image : public TransformableShape {
public:
    std::string displayName;
    // The file's content, until stored; images of the same content share it.
    std::shared_ptr<const std::string> bytes;
    const char* extension;  // "png", "jpg" or "gif", by the content
    int pixelWidth;
    int pixelHeight;
    float opacity = 1;  // written when below 1

    Image(std::shared_ptr<const std::string> bytes, const char* extension, int pixelWidth, int pixelHeight);

    bool storeFiles(ImageFiles& files) override;
    // Nothing until stored.
    void write(std::string& document, int index) const override;

private:
    std::string fileName;  // in the bundle, once stored
    std::size_t byteSize = 0;
};

}  // namespace Orvane
