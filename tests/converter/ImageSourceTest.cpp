#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "converter/ImageSource.h"
#include "converter/ImageBytes.h"

using Pictavo::ImageType;

namespace {

struct Header {
    ImageType type;
    std::uint32_t width;
    std::uint32_t height;
};

std::string text(const char* bytes, std::size_t count) { return std::string(bytes, count); }

}  // namespace

TEST(ImageSource, TypeAndSizeFromTheHeaderOnly) {
    const std::string jpegStart = text("\xFF\xD8", 2);
    const std::pair<std::string, std::optional<Header>> cases[] = {
        {imagebytes::png(640, 480), Header{ImageType::Png, 640, 480}},
        {imagebytes::gif(300, 2), Header{ImageType::Gif, 300, 2}},
        {"GIF87a" + text("\x01\x01\x02\x00", 4), Header{ImageType::Gif, 257, 2}},
        {imagebytes::jpeg(1024, 768), Header{ImageType::Jpeg, 1024, 768}},
        // Fill bytes before a progressive frame header; a restart marker has no length.
        {jpegStart + text("\xFF\xFF\xFF\xD0\xFF\xC2\x00\x0B\x08\x00\x05\x00\x07", 13), Header{ImageType::Jpeg, 7, 5}},
        // DHT (C4) is no frame header: the walk goes past it.
        {jpegStart + text("\xFF\xC4\x00\x04\xAA\xBB\xFF\xC1\x00\x0B\x08\x00\x02\x00\x03", 15),
         Header{ImageType::Jpeg, 3, 2}},
        // Image data before any frame header, a segment running past the end, a cut header.
        {jpegStart + text("\xFF\xDA\x00\x02", 4), std::nullopt},
        {jpegStart + text("\xFF\xE0\x01\x00", 4), std::nullopt},
        {jpegStart + text("\xFF\xC0\x00\x0B\x08\x00", 6), std::nullopt},
        {imagebytes::png(4, 4).substr(0, 20), std::nullopt},
        {text("\x89PNG\r\n\x1a\n\x00\x00\x00\x0DIHDX\x00\x00\x00\x01\x00\x00\x00\x01", 24), std::nullopt},
        {"GIF89a" + text("\x01", 1), std::nullopt},
        {"BM" + std::string(60, '\0'), std::nullopt},
    };
    for (const auto& [bytes, expected] : cases) {
        const std::optional<Pictavo::ImageHeader> header = Pictavo::readImageHeader(bytes);
        ASSERT_EQ(header.has_value(), expected.has_value()) << testing::PrintToString(bytes);
        if (!expected) continue;
        EXPECT_EQ(header->type, expected->type) << testing::PrintToString(bytes);
        EXPECT_EQ(header->width, expected->width) << testing::PrintToString(bytes);
        EXPECT_EQ(header->height, expected->height) << testing::PrintToString(bytes);
    }
}

TEST(ImageSource, DataUrisDecode) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"data:image/png;base64,SGVsbG8=", "Hello"},
        {"DATA:image/gif;BASE64,\n  SGVs\r\n bG8=\n", "Hello"},
        // The media type is not believed; percent-encoding may wrap base64 too.
        {"data:text/plain;charset=utf-8;base64,SGVs%62G8%3D", "Hello"},
        {"data:image/png,%89PNG%0d%0a", "\x89PNG\r\n"},
        {"data:,a%2Cb,c", "a,b,c"},
        {"data:image/png;base64,SGVs*bG8=", std::nullopt},
        {"data:image/png;base64,SGVsbG8=SGVs", std::nullopt},
        {"data:image/png,%8", std::nullopt},
        {"data:image/png;base64", std::nullopt},
        {"dat:image/png;base64,SGVsbG8=", std::nullopt},
    };
    for (const auto& [uri, expected] : cases)
        EXPECT_EQ(Pictavo::decodeDataUri(uri, 100), expected) << uri;
}

TEST(ImageSource, DataUrisAreBounded) {
    const std::pair<std::size_t, bool> cases[] = {{5, true}, {4, false}};
    for (const auto& [limit, decoded] : cases) {
        EXPECT_EQ(Pictavo::decodeDataUri("data:;base64,SGVsbG8=", limit).has_value(), decoded) << limit;
        EXPECT_EQ(Pictavo::decodeDataUri("data:,Hello", limit).has_value(), decoded) << limit;
    }
}

// A folder with the input, images beside it and below it, one outside, and
// links leading in and out.
class ImageFilesBesideInput : public testing::Test {
protected:
    std::string root = testing::TempDir() + "pictavo-images-" + std::to_string(getpid());
    std::string folder = root + "/drawing";

    void SetUp() override {
        std::filesystem::create_directories(folder + "/sub");
        write(folder + "/input.svg", "<svg/>");
        write(folder + "/a.png", "beside");
        write(folder + "/sub/b c.png", "below");
        write(root + "/outside.png", "outside");
        symlink("../outside.png", (folder + "/out.png").c_str());
        symlink("sub/b c.png", (folder + "/in.png").c_str());
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    static void write(const std::string& path, const std::string& content) { std::ofstream(path) << content; }
};

TEST_F(ImageFilesBesideInput, OnlyFilesBelowTheInputsFolderAreRead) {
    const Pictavo::ImageOrigin origin = Pictavo::imageOrigin(folder + "/input.svg");
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"a.png", "beside"},
        {"sub/b%20c.png", "below"},
        {"sub/../a.png", "beside"},
        {"in.png", "below"},
        {"a.png#part", "beside"},
        {"../outside.png", std::nullopt},
        {"out.png", std::nullopt},
        {root + "/outside.png", std::nullopt},
        {"file:a.png", std::nullopt},
        {"missing.png", std::nullopt},
        {"sub", std::nullopt},
        {"a%00.png", std::nullopt},
    };
    for (const auto& [href, expected] : cases) EXPECT_EQ(Pictavo::imageBytes(href, origin), expected) << href;
}

TEST_F(ImageFilesBesideInput, BoundsFollowTheInput) {
    Pictavo::ImageOrigin origin = Pictavo::imageOrigin(folder + "/input.svg");
    EXPECT_EQ(origin.dataLimit, 6u) << "the input's size";
    EXPECT_EQ(Pictavo::imageBytes("data:,123456", origin), "123456");
    EXPECT_EQ(Pictavo::imageBytes("data:,1234567", origin), std::nullopt);
    origin.fileLimit = 5;
    EXPECT_EQ(Pictavo::imageBytes("sub/b%20c.png", origin), "below");
    EXPECT_EQ(Pictavo::imageBytes("a.png", origin), std::nullopt);
    EXPECT_EQ(Pictavo::imageBytes("a.png", Pictavo::imageOrigin("-")), std::nullopt)
        << "standard input has no folder";
}
