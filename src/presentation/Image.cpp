#include "presentation/Image.h"

#include <climits>
#include <utility>

#include "presentation/Format.h"
#include "presentation/ImageFiles.h"

namespace Orvane {

Image::Image(std::shared_ptr<const std::string> bytes, const char* extension, int pixelWidth, int pixelHeight)
    : bytes(std::move(bytes)), extension(extension), pixelWidth(pixelWidth), pixelHeight(pixelHeight) {
    size[0] = static_cast<float>(pixelWidth);
    size[1] = static_cast<float>(pixelHeight);
}

bool Image::storeFiles(ImageFiles& files) {
    if (bytes == nullptr) return false;
    fileName = files.add(bytes, extension);
    byteSize = bytes->size();
    // The file holds them now; the drawable may wait a while to be written.
    bytes.reset();
    return !fileName.empty();
}

void Image::write(std::string& document, int) const {
    if (fileName.empty() || byteSize > INT_MAX || !placementWritable() || !Format::writable({opacity}))
        return;
    document.append("<image display-name=\"");
    Format::attribute(document, displayName);
    document.append("\" image-data=\"");
    Format::attribute(document, fileName);
    document.append("\" natural-size=\"");
    Format::integer(document, pixelWidth);
    document.append(" ");
    Format::integer(document, pixelHeight);
    document.append("\" transformation=\"");
    appendPlacement(document);
    if (opacity < 1) {
        document.append("\" opacity=\"");
        Format::number(document, opacity);
    }
    document.append("\" byte-size=\"");
    Format::integer(document, static_cast<int>(byteSize));
    document.append("\"/>\n");
}

}  // namespace Orvane
