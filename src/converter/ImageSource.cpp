#include "converter/ImageSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int k = 0; k < count; ++k) value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

std::uint32_t littleEndian16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::optional<ImageHeader> pngHeader(std::string_view bytes) {
    // Signature, then the first chunk, which must be IHDR: length, type,
    // width, height.
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
    return ImageHeader{ImageType::Png, bigEndian(bytes, 16, 4), bigEndian(bytes, 20, 4)};
}

std::optional<ImageHeader> gifHeader(std::string_view bytes) {
    if (bytes.size() < 10) return std::nullopt;
    return ImageHeader{ImageType::Gif, littleEndian16(bytes, 6), littleEndian16(bytes, 8)};
}

// Frame header markers: C0 to CF, except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameMarker(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, the restarts, SOI.
bool isStandalone(unsigned char marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

std::optional<ImageHeader> jpegHeader(std::string_view bytes) {
    std::size_t at = 2;
    for (;;) {
        if (at >= bytes.size() || static_cast<unsigned char>(bytes[at]) != 0xFF) return std::nullopt;
        // Any number of 0xFF may fill the space before a marker.
        while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) ++at;
        if (at >= bytes.size()) return std::nullopt;
        const unsigned char marker = static_cast<unsigned char>(bytes[at++]);
        if (isStandalone(marker)) continue;
        // Image data (SOS) or the end (EOI) before any frame header.
        if (marker == 0xDA || marker == 0xD9 || at + 2 > bytes.size()) return std::nullopt;
        const std::uint32_t length = bigEndian(bytes, at, 2);
        if (length < 2) return std::nullopt;
        if (isFrameMarker(marker)) {
            // Length, sample precision, number of lines, samples per line.
            if (length < 7 || at + 7 > bytes.size()) return std::nullopt;
            return ImageHeader{ImageType::Jpeg, bigEndian(bytes, at + 5, 2), bigEndian(bytes, at + 3, 2)};
        }
        at += length;
    }
}

// %XX sequences decoded; nullopt on a malformed one or beyond `limit` bytes.
std::optional<std::string> percentDecoded(std::string_view text, std::size_t limit) {
    std::string decoded;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (decoded.size() == limit) return std::nullopt;
        if (text[at] != '%') {
            decoded += text[at];
            continue;
        }
        const int high = at + 2 < text.size() ? hexadecimalValue(text[at + 1]) : -1;
        const int low = high >= 0 ? hexadecimalValue(text[at + 2]) : -1;
        if (low < 0) return std::nullopt;
        decoded += static_cast<char>(high << 4 | low);
        at += 2;
    }
    return decoded;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (isDigitCharacter(c)) return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Base64 with white space anywhere and the padding optional.
std::optional<std::string> base64Decoded(std::string_view text, std::size_t limit) {
    std::string decoded;
    std::uint32_t bits = 0;
    int bitCount = 0;
    bool padded = false;
    for (char c : text) {
        if (isSpaceCharacter(c)) continue;
        if (c == '=') {
            padded = true;
            continue;
        }
        const int value = base64Value(c);
        if (value < 0 || padded) return std::nullopt;
        bits = (bits << 6 | static_cast<std::uint32_t>(value)) & 0xFFFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            if (decoded.size() == limit) return std::nullopt;
            bitCount -= 8;
            decoded += static_cast<char>(bits >> bitCount & 0xFF);
        }
    }
    return decoded;
}

// RFC 3986: a scheme is a letter, then letters, digits, '+', '-' or '.', up
// to a colon.
bool hasScheme(std::string_view reference) {
    const std::size_t colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    if (!isLetterCharacter(reference[0])) return false;
    for (char c : reference.substr(1, colon - 1)) {
        if (!isLetterCharacter(c) && !isDigitCharacter(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

std::string realPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::optional<std::string> fileContent(const std::string& path, std::size_t limit) {
    // O_NONBLOCK: a named pipe must not hold the conversion.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return std::nullopt;
    std::optional<std::string> content;
    struct stat status;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uintmax_t>(status.st_size) <= limit) {
        std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = read(descriptor, &bytes[done], bytes.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
        content = std::move(bytes);
    }
    close(descriptor);
    return content;
}

std::optional<std::string> referencedFile(std::string_view reference, const ImageOrigin& origin) {
    if (origin.folder.empty() || hasScheme(reference) || startsWith(reference, "/")) return std::nullopt;
    // The query and the fragment name no part of a file.
    reference = reference.substr(0, reference.find_first_of("?#"));
    std::optional<std::string> path = percentDecoded(reference, PATH_MAX);
    if (!path || path->empty() || path->find('\0') != std::string::npos) return std::nullopt;
    const std::string real = realPath(origin.folder + *path);
    if (real.size() <= origin.folder.size() || !startsWith(real, origin.folder)) return std::nullopt;
    return fileContent(real, origin.fileLimit);
}

}  // namespace

std::optional<ImageHeader> readImageHeader(std::string_view bytes) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n")) return pngHeader(bytes);
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a")) return gifHeader(bytes);
    if (startsWith(bytes, "\xFF\xD8")) return jpegHeader(bytes);
    return std::nullopt;
}

ImageOrigin imageOrigin(const std::string& inputPath) {
    ImageOrigin origin;
    if (inputPath == "-") return origin;
    const std::size_t slash = inputPath.rfind('/');
    origin.folder = realPath(slash == std::string::npos ? std::string(".")
                                                        : inputPath.substr(0, slash == 0 ? 1 : slash));
    if (!origin.folder.empty() && origin.folder.back() != '/') origin.folder += '/';
    const int descriptor = open(inputPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return origin;
    char magic[2];
    struct stat status;
    // A compressed input holds more text than its size: its data URIs are
    // bounded by the text itself.
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        !(pread(descriptor, magic, 2, 0) == 2 && magic[0] == '\x1f' && magic[1] == '\x8b'))
        origin.dataLimit = static_cast<std::size_t>(status.st_size);
    close(descriptor);
    return origin;
}

std::optional<std::string> decodeDataUri(std::string_view uri, std::size_t limit) {
    if (uri.size() < 5 || !equalsLowered(uri.substr(0, 5), "data:")) return std::nullopt;
    const std::size_t comma = uri.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::string_view mediaType = uri.substr(5, comma - 5);
    const std::size_t lastParameter = mediaType.rfind(';');
    const bool base64 = lastParameter != std::string_view::npos &&
                        equalsKeyword(mediaType.substr(lastParameter + 1), "base64");
    // Base64 text may itself be percent-encoded; its decoding only shrinks.
    std::optional<std::string> data =
        percentDecoded(uri.substr(comma + 1), base64 ? uri.size() : limit);
    if (!data || !base64) return data;
    return base64Decoded(*data, limit);
}

std::optional<std::string> imageBytes(std::string_view href, const ImageOrigin& origin) {
    href = trimmed(href);
    if (href.size() >= 5 && equalsLowered(href.substr(0, 5), "data:"))
        return decodeDataUri(href, origin.dataLimit);
    return referencedFile(href, origin);
}

const ImageLoader::Loaded* ImageLoader::load(std::string_view href) {
    auto [entry, added] = loaded.try_emplace(std::string(href));
    if (added) {
        std::optional<std::string> bytes = imageBytes(href, origin);
        const std::optional<ImageHeader> header = bytes ? readImageHeader(*bytes) : std::nullopt;
        if (header) entry->second = Loaded{std::make_shared<const std::string>(std::move(*bytes)), *header};
    }
    return entry->second ? &*entry->second : nullptr;
}

}  // namespace Pictavo
