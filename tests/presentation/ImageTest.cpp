#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "presentation/Image.h"
#include "presentation/ImageFiles.h"
#include "presentation/Keynote.h"
#include "presentation/Text.h"

namespace fs = std::filesystem;
using Orvane::Image;
using Orvane::Keynote;

namespace {

std::shared_ptr<const std::string> bytes(const std::string& content) {
    return std::make_shared<const std::string>(content);
}

std::unique_ptr<Image> image(std::shared_ptr<const std::string> content, const char* extension) {
    return std::make_unique<Image>(std::move(content), extension, 40, 20);
}

// The folder's entries in name order as name=content ("none" when it does not
// exist), a whole document shown as "document", a folder as name/.
std::string listing(const fs::path& folder) {
    if (!fs::exists(folder)) return "none";
    std::set<std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ostringstream content;
        if (entry.is_regular_file()) content << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        const bool whole = content.str().find("</presentation>\n") != std::string::npos;
        entries.insert(entry.path().filename().string() +
                       (entry.is_directory() ? "/" : "=" + (whole ? "document" : content.str())));
    }
    std::string text;
    for (const std::string& entry : entries) text += (text.empty() ? "" : " ") + entry;
    return text;
}

class ImageBundle : public ::testing::Test {
protected:
    fs::path folder = (fs::temp_directory_path() / "image-test-XXXXXX").string();
    void SetUp() override {
        std::string pattern = folder.string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }
};

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
        Image drawable(bytes("PNG.."), "png", 40, 20);
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

// A committed run's images replace an earlier run's, shared bytes are one
// file, and none of an earlier run's image files stays; a failed run leaves
// the bundle as it found it, without a staged file.
TEST_F(ImageBundle, CommitReplacesTheEarlierImages) {
    struct Row {
        bool earlier;
        bool writesFail;
        const char* after;
    };
    const char* const earlierListing =
        "image-1.png=old image-2.gif=old image-3.jpg=old image-x.png=ours presentation.apxl=earlier";
    const Row rows[] = {
        {true, false, "image-1.png=P image-2.jpg=J image-x.png=ours presentation.apxl=document"},
        {false, false, "image-1.png=P image-2.jpg=J presentation.apxl=document"},
        {true, true, earlierListing},
        {false, true, "none"},
    };
    for (const Row& row : rows) {
        const fs::path bundle = folder / (std::to_string(&row - rows) + ".key");
        SCOPED_TRACE(bundle);
        if (row.earlier) {
            fs::create_directory(bundle);
            for (const char* name : {"image-1.png", "image-2.gif", "image-3.jpg"}) std::ofstream(bundle / name) << "old";
            std::ofstream(bundle / "image-x.png") << "ours";
            std::ofstream(bundle / "presentation.apxl") << "earlier";
            ASSERT_EQ(listing(bundle), earlierListing);
        }
        rlimit previous;
        getrlimit(RLIMIT_FSIZE, &previous);
        void (*previousAction)(int) = std::signal(SIGXFSZ, SIG_IGN);
        {
            Keynote keynote(bundle.c_str());
            const auto shared = bytes("P");
            keynote.add(image(shared, "png"));
            keynote.add(image(bytes("J"), "jpg"));
            keynote.add(image(shared, "png"));
            if (row.writesFail) {
                rlimit limited = previous;
                limited.rlim_cur = 64 * 1024;
                setrlimit(RLIMIT_FSIZE, &limited);
                for (int i = 0; i < 3000; ++i) keynote.add(std::make_unique<Orvane::Text>("box"));
            }
            EXPECT_EQ(keynote.commit(), row.writesFail ? 1 : 0);
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousAction);
        EXPECT_EQ(listing(bundle), row.after);
    }
}

// Staged images go with the unfinished document when a signal ends the run,
// and a killed run's staging folder goes with its document.
TEST_F(ImageBundle, UnfinishedImagesAreRemoved) {
    const fs::path signalled = folder / "signalled.key";
    {
        Keynote keynote(signalled.c_str());
        keynote.add(image(bytes("P"), "png"));
        keynote.add(image(bytes("G"), "gif"));
        Keynote::removeUnfinished();
        EXPECT_EQ(listing(signalled), "none");
    }
    const fs::path killed = folder / "killed.key";
    fs::create_directories(killed / ".presentation.apxl.killed.images");
    std::ofstream(killed / ".presentation.apxl.killed") << "killed";
    std::ofstream(killed / ".presentation.apxl.killed.images" / "image-1.png") << "P";
    {
        Keynote keynote(killed.c_str());
        EXPECT_EQ(keynote.commit(), 0);
    }
    EXPECT_EQ(listing(killed), "presentation.apxl=document");
}
