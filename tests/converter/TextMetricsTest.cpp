#include <gtest/gtest.h>

#include <string>

#include "converter/TextMetrics.h"

using Pictavo::FontRequest;
using Pictavo::TextMetrics;

namespace {

struct Measured {
    const char* text;
    FontRequest font;
    float advance;  // in font sizes
    float ascent;
};

}  // namespace

// The Liberation faces stand in for Helvetica, Times and Courier with the same
// advances: H is 1479 of 2048 units in all three, a Courier character 1229;
// bold i is 569 units, regular i 455. A byte that is not UTF-8 and a character
// no font has count as an em.
TEST(TextMetrics, MeasuresWithTheMatchedFace) {
    const Measured rows[] = {
        {"HHH", {"Helvetica"}, 3 * 1479 / 2048.0f, 1854 / 2048.0f},
        {"H", {"Times"}, 1479 / 2048.0f, 1825 / 2048.0f},
        {"iiii", {"Helvetica", true, false}, 4 * 569 / 2048.0f, 1854 / 2048.0f},
        {"iiii", {"Helvetica", false, true}, 4 * 455 / 2048.0f, 1854 / 2048.0f},
        {"a\xc3\xa9\xe2\x82\xac", {"Courier"}, 3 * 1229 / 2048.0f, 1705 / 2048.0f},
        {"a\xff", {"Courier"}, 1229 / 2048.0f + 1, 1705 / 2048.0f},
        {"a\xf3\xb0\x80\x80", {"Courier"}, 1229 / 2048.0f + 1, 1705 / 2048.0f},
        {"", {"Helvetica"}, 0, 1854 / 2048.0f},
    };
    TextMetrics metrics;
    for (const Measured& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " in " + std::string(row.font.family));
        // Twice: the second answer comes from the caches.
        for (int pass = 0; pass < 2; ++pass) {
            Pictavo::TextExtent extent = metrics.measure(row.text, row.font);
            EXPECT_NEAR(extent.advance, row.advance, 1e-4f);
            EXPECT_NEAR(extent.ascent, row.ascent, 1e-4f);
        }
    }
}
