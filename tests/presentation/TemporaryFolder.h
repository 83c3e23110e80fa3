#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

// A fixture whose tests write below a folder of their own, made fresh for
// each test and removed with everything in it afterwards.
class TemporaryFolder : public ::testing::Test {
protected:
    std::filesystem::path folder;

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }
};

// "none", or the folder's entries in name order as name=content, a whole
// document shown as "document".
inline std::string listing(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(folder)) return "none";
    std::set<std::string> entries;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        std::ostringstream content;
        content << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        const bool whole = content.str().find("</presentation>\n") != std::string::npos;
        entries.insert(entry.path().filename().string() + "=" + (whole ? "document" : content.str()));
    }
    std::string text;
    for (const std::string& entry : entries) text += (text.empty() ? "" : " ") + entry;
    return text;
}
