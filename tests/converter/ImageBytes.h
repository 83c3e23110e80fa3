#pragma once

// The first bytes of images of each type, as far as their headers go: enough
// for the converter, which reads no further.

#include <algorithm>
#include <cstdint>
#include <string>

namespace imagebytes {

inline std::string bigEndian(std::uint32_t value, int count) {
    std::string bytes;
    for (int k = count - 1; k >= 0; --k) bytes += static_cast<char>(value >> (8 * k) & 0xFF);
    return bytes;
}

inline std::string png(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + bigEndian(13, 4) + "IHDR" + bigEndian(width, 4) +
           bigEndian(height, 4) + std::string("\x08\x02\x00\x00\x00", 5) + "CRC!";
}

inline std::string gif(std::uint32_t width, std::uint32_t height) {
    return std::string("GIF89a") + static_cast<char>(width & 0xFF) + static_cast<char>(width >> 8) +
           static_cast<char>(height & 0xFF) + static_cast<char>(height >> 8) + std::string("\x00\x00\x00", 3);
}

// SOI, a JFIF APP0 segment, then a baseline frame header.
inline std::string jpeg(std::uint32_t width, std::uint32_t height) {
    return std::string("\xFF\xD8\xFF\xE0", 4) + bigEndian(16, 2) + std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14) +
           std::string("\xFF\xC0", 2) + bigEndian(17, 2) + "\x08" + bigEndian(height, 2) + bigEndian(width, 2) +
           std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
}

inline std::string base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (at + k < bytes.size() ? static_cast<unsigned char>(bytes[at + k]) : 0);
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        for (std::size_t k = 0; k < 4; ++k) text += k <= count ? digits[group >> (18 - 6 * k) & 63] : '=';
    }
    return text;
}

}  // namespace imagebytes
