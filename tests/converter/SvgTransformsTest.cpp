#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "converter/ConvertedDrawing.h"

using Pictavo::Matrix;
using Elements = std::array<float, 6>;  // the first two rows; the third stays 0 0 1

namespace {

// cos of the float nearest to pi/2, widened: what rotate(90) really puts in place of 0.
const float cos90 = -4.37113883e-08f;

Matrix matrixOf(const Elements& e) { return Matrix(e[0], e[1], e[2], e[3], e[4], e[5], 0, 0, 1); }
std::vector<float> elementsOf(const Matrix& m) { return {m.m, m.m + 9}; }

using TransformReaders = converted::Converter;

}  // namespace

TEST_F(TransformReaders, TransformListsMultiplyFromTheRight) {
    const Elements identity = {1, 0, 0, 0, 1, 0};
    const std::pair<std::string, Elements> cases[] = {
        {"translate(10)", {1, 0, 10, 0, 1, 0}}, {"scale(2,3,4)", {2, 0, 0, 0, 2, 0}},
        {"matrix(1 2 3 4 5 6 7)", {1, 3, 5, 2, 4, 6}}, {"matrix(1 0 0 1 5)", identity},
        {"rotate(90)", {cos90, -1, 0, 1, cos90, 0}}, {"rotate(45 10)", identity},
        {"skewX(45)", {1, 1, 0, 0, 1, 0}},
        // Numbers before any keyword, and a keyword without numbers, apply nothing.
        {"5 6 translate(10) rotate", {1, 0, 10, 0, 1, 0}},
        // The leftmost transformation reaches the points last.
        {"scale(2) translate(10,20)", {2, 0, 20, 0, 2, 40}},
        {"translate 10;20", {1, 0, 10, 0, 1, 20}}, {"translate(+5-6)", {1, 0, 5, 0, 1, -6}},
        {"translate(--5)", identity}, {"translate(- 5, 6)", {1, 0, -5, 0, 1, 6}},
        // Runs longer than the buffers are cut, never written past them.
        {"translate(" + std::string(3000, '-') + "5, 7)", {1, 0, 0, 0, 1, 7}},
        {std::string(300, 'a') + "(5) translate(3)", {1, 0, 3, 0, 1, 0}},
    };
    for (const auto& [text, expected] : cases) {
        Matrix ctm = Matrix::identity();
        EXPECT_EQ(svg.convertTransform(text.c_str(), ctm), 0);
        EXPECT_EQ(elementsOf(ctm), elementsOf(matrixOf(expected))) << text.substr(0, 40);
    }
    Matrix moved = matrixOf({1, 0, 100, 0, 1, 0});
    svg.convertTransform("scale(2)", moved);
    EXPECT_EQ(elementsOf(moved), elementsOf(matrixOf({2, 0, 100, 0, 2, 0})))
        << "the caller's matrix acts last";
}

// The slide starts at 200 by 100 and the matrix at `before`.
TEST_F(TransformReaders, ViewboxMapsOntoTheSlide) {
    const Elements before = {3, 7, 5, 8, 3, 6};
    const float scale = 1.02040815f;     // 25 / 24.5
    const float tiny = 2.14748358e-11f;  // the largest int / 1e20
    struct Case {
        std::string text;
        bool sizeGiven;
        std::tuple<int, int, int> resultAndSize;
        Elements expected;
    } cases[] = {
        {"- 10,0 1e2 5E1", true, {0, 200, 100}, {2, 14, 20, 16, 2, 0}},
        // Without a size of its own the slide takes the viewBox size, rounded.
        {"10 20 100 50 7", false, {0, 100, 50}, {1, 7, -10, 8, 1, -20}},
        {"0 0 24.5 24.5", false, {0, 25, 25}, {scale, 7 * scale, 0, 8 * scale, scale, 0}},
        {"0 0 0.25 0.5", false, {0, 1, 1}, {4, 28, 0, 16, 2, 0}},
        {"0 0 4294967296 1e20", false, {0, INT_MAX, INT_MAX}, {0.5f, 3.5f, 0, 8 * tiny, tiny, 0}},
        // Nothing changes without four numbers and a positive, finite size.
        {"0 0 100", false, {1, 200, 100}, before},
        {"0 0 0 50", false, {1, 200, 100}, before},
        {"0 0 1e39 50", false, {1, 200, 100}, before},
        {"0 0 " + std::string(3000, '-') + "5 5", false, {1, 200, 100}, before},
    };
    for (const Case& c : cases) {
        int width = 200, height = 100;
        Matrix ctm = matrixOf(before);
        const int result = svg.convertViewbox(c.text.c_str(), width, height, c.sizeGiven, ctm);
        EXPECT_EQ(std::make_tuple(result, width, height), c.resultAndSize) << c.text.substr(0, 40);
        EXPECT_EQ(elementsOf(ctm), elementsOf(matrixOf(c.expected))) << c.text.substr(0, 40);
    }
}
