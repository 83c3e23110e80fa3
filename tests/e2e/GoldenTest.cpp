// Every tests/data/golden/NAME.svg is converted by the built program and its
// document compared byte for byte with NAME.apxl, a file checked by hand
// (tests/data/golden/CHECKED.md says which numbers were verified and how).

#include <algorithm>

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

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, DocumentMatchesTheCheckedFile) {
    const fs::path golden = goldenFolder / (GetParam() + ".apxl");
    ASSERT_TRUE(fs::exists(golden)) << "no " << golden;
    // A failure shows the differing lines.
    EXPECT_EQ(converted(readFile(goldenFolder / (GetParam() + ".svg"))), readFile(golden));
}

INSTANTIATE_TEST_SUITE_P(Drawings, Golden, testing::ValuesIn(goldenNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace e2e
