#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "presentation/Keynote.h"

namespace fs = std::filesystem;
using Orvane::Keynote;

namespace {

// "none", or the folder's entries in name order as name=content, a whole
// document shown as "document".
std::string listing(const fs::path& folder) {
    if (!fs::exists(folder)) return "none";
    std::set<std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ostringstream content;
        content << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        const bool whole = content.str().find("</presentation>\n") != std::string::npos;
        entries.insert(entry.path().filename().string() + "=" + (whole ? "document" : content.str()));
    }
    std::string text;
    for (const std::string& entry : entries) text += (text.empty() ? "" : " ") + entry;
    return text;
}

}  // namespace

// A save that fails on a full disk leaves an earlier bundle as it was and
// removes a bundle it made; a save replaces only the document. No temporary
// file is left behind.
TEST(KeynoteBundle, FailedSaveLeavesWhatWasThere) {
    std::string pattern = (fs::temp_directory_path() / "keynote-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::tuple<bool, bool, const char*> cases[] = {  // earlier bundle, full disk, after
        {true, true, "other.txt=ours presentation.apxl=earlier"},
        {false, true, "none"},
        {true, false, "other.txt=ours presentation.apxl=document"},
    };
    int row = 0;
    for (const auto& [earlier, fullDisk, after] : cases) {
        const fs::path bundle = fs::path(pattern) / std::to_string(++row) / "b.key";
        fs::create_directories(bundle.parent_path());
        if (earlier) {
            fs::create_directory(bundle);
            std::ofstream(bundle / "presentation.apxl") << "earlier";
            std::ofstream(bundle / "other.txt") << "ours";
        }
        {
            Keynote keynote(bundle.c_str(), 800, 600);
            if (fullDisk) {
                std::fclose(keynote.file);
                ASSERT_NE(keynote.file = std::fopen("/dev/full", "w"), nullptr);
            }
            keynote.printHeader();
            keynote.printFooter();
            EXPECT_EQ(keynote.save(), fullDisk ? 1 : 0) << "row " << row;
        }
        EXPECT_EQ(listing(bundle), after) << "row " << row;
    }
    fs::remove_all(pattern);
}
