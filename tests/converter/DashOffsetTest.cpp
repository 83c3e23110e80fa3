#include <gtest/gtest.h>

#include <vector>

#include "converter/DashOffset.h"

// The pattern rotated when the offset falls on an entry's start, else kept.
TEST(DashOffset, RotatesByWholeEntries) {
    const struct {
        std::vector<float> dashes;
        float offset;
        std::vector<float> expected;
    } cases[] = {
        {{5, 3, 2, 4}, 8, {2, 4, 5, 3}},
        {{5, 3, 2, 4}, 5, {0, 3, 2, 4, 5, 0}},  // begins with a gap
        {{5, 3, 2, 4}, -6, {2, 4, 5, 3}},       // backwards: 14 - 6 = 8 into it
        {{5, 3, 2, 4}, 6, {5, 3, 2, 4}},        // inside an entry: left as it is
        {{5, 3, 2, 5, 3, 2}, 10, {0, 5, 3, 2, 5, 3, 2, 0}},  // the second 5 is a gap
        {{0.1f, 0.2f}, 0.3f, {0.1f, 0.2f}},
        {{}, 3, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pictavo::dashesFromOffset(c.dashes, c.offset), c.expected)
            << c.dashes.size() << " entries, offset " << c.offset;
}
