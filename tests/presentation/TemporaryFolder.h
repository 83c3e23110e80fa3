#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
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
