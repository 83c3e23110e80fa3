#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Pictavo {

// The raster formats a slide carries, told by their content.
enum class ImageType { Png, Jpeg, Gif };

struct ImageHeader {
    ImageType type;
    std::uint32_t width;  // pixels
    std::uint32_t height;
};

// The type and pixel size, read from the header alone: PNG's IHDR chunk,
// GIF's logical screen, JPEG's frame header (SOFn) found by walking the
// marker segments. nullopt when the bytes are none of the three or the header
// is cut short; a size of 0 is returned as read.
std::optional<ImageHeader> readImageHeader(std::string_view bytes);

// Where an image reference may lead.
struct ImageOrigin {
    // The input's folder with every symbolic link resolved, ending in '/';
    // empty when the input has no folder (standard input): then no file is
    // read.
    std::string folder;
    // A data URI decodes to no more bytes than this.
    std::size_t dataLimit = SIZE_MAX;
    // A referenced file holds no more bytes than this.
    std::size_t fileLimit = std::size_t(64) << 20;
};

// The origin of images referenced by the input at `inputPath` ("-" for
// standard input).
ImageOrigin imageOrigin(const std::string& inputPath);

// The bytes of a "data:" URI: base64 (white space anywhere ignored) or
// percent-encoded. The media type is not trusted: readImageHeader tells the
// type. nullopt when the URI is malformed or decodes to more than `limit`.
std::optional<std::string> decodeDataUri(std::string_view uri, std::size_t limit);

// The bytes an href leads to: a data URI, or a relative reference to a file
// whose real path lies below the origin's folder. Absolute paths, URLs with a
// scheme, and paths that leave the folder (through ".." or a symbolic link)
// give nullopt.
std::optional<std::string> imageBytes(std::string_view href, const ImageOrigin& origin);

// The images of one drawing, each read once however often it is drawn
// (through `use`): the copies share their bytes.
class ImageLoader {
public:
    struct Loaded {
        std::shared_ptr<const std::string> bytes;
        ImageHeader header;
    };

    ImageOrigin origin;

    // The image an href leads to, or null when it is refused or none of the
    // three types.
    const Loaded* load(std::string_view href);

private:
    std::unordered_map<std::string, std::optional<Loaded>> loaded;  // by href
};

}  // namespace Pictavo
