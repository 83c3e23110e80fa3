#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "presentation/Image.h"
#include "presentation/ImageFiles.h"
#include "presentation/TemporaryFolder.h"

namespace fs = std::filesystem;
using Orvane::Image;

namespace {

class ImageBundle : public TemporaryFolder {};

}  // namespace

TEST_F(ImageBundle, WritesTheElementOnceStored) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string placed = "transformation=\"2.000000 0.500000 -0.500000 2.000000 100.000000 50.000000\"";
    const std::pair<std::function<void(Image&)>, std::string> cases[] = {
        {[](Image&) {},
         "<image display-name=\"logo\" image-data=\"image-1.png\" natural-size=\"40 20\" " + placed +
             " byte-size=\"5\"/>\n"},
        {[](Image& i) { i.displayName = "a&b \"<c>\""; i.opacity = 0.25f; },
         "<image display-name=\"a&amp;b &quot;&lt;c&gt;&quot;\" image-data=\"image-1.png\" natural-size=\"40 20\" " +
             placed + " opacity=\"0.250000\" byte-size=\"5\"/>\n"},
        {[=](Image& i) { i.transformation[2] = nan; }, ""},
    };
    for (const auto& [change, expected] : cases) {
        Orvane::ImageFiles files(folder.string(), (folder / ".doc").string());
        Image drawable(std::make_shared<const std::string>("PNG.."), "png", 40, 20);
        drawable.displayName = "logo";
        drawable.setTransformation(2, 0.5f, -0.5f, 2, 0, 0);
        drawable.setPosition(100, 50);
        change(drawable);
        std::string written;
        drawable.write(written, 0);
        EXPECT_EQ(written, "") << "not stored yet";
        ASSERT_TRUE(drawable.storeFiles(files));
        drawable.write(written, 0);
        EXPECT_EQ(written, expected);
    }
}
