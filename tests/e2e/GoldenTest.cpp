// Every tests/data/golden/NAME.svg is converted by the built program and its
// document compared byte for byte with NAME.apxl, a file checked by hand
// (tests/data/golden/CHECKED.md says which numbers were verified and how).

#include <algorithm>
#include <sstream>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

const fs::path goldenFolder = fs::path(PICTAVO_TEST_DATA) / "golden";

std::vector<std::string> goldenNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(goldenFolder))
        if (entry.path().extension() == ".svg") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The first line where two documents differ, to make a failure readable.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream expectedLines(expected), actualLines(actual);
    std::string e, a;
    for (int line = 1;; ++line) {
        const bool moreExpected = static_cast<bool>(std::getline(expectedLines, e));
        const bool moreActual = static_cast<bool>(std::getline(actualLines, a));
        if (!moreExpected && !moreActual) return "no line differs (line endings?)";
        if (e != a || moreExpected != moreActual)
            return "line " + std::to_string(line) + "\n  expected: " + e + "\n  actual:   " + a;
    }
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, DocumentMatchesTheCheckedFile) {
    const fs::path golden = goldenFolder / (GetParam() + ".apxl");
    ASSERT_TRUE(fs::exists(golden)) << "no " << golden;
    const std::string expected = readFile(golden);
    const std::string actual = converted(readFile(goldenFolder / (GetParam() + ".svg")));
    EXPECT_TRUE(actual == expected) << firstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Drawings, Golden, testing::ValuesIn(goldenNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace e2e
