#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "converter/Transforms.h"

using Pictavo::Matrix;
using Elements = std::array<float, 6>;  // the first two rows; the third stays 0 0 1

namespace {

// cos of the float nearest to pi/2, widened: what rotate(90) really puts in place of 0.
const float cos90 = -4.37113883e-08f;

Matrix matrixOf(const Elements& e) { return Matrix(e[0], e[1], e[2], e[3], e[4], e[5], 0, 0, 1); }
std::vector<float> elementsOf(const Matrix& m) { return {m.m, m.m + 9}; }

}  // namespace

// Lengths resolve against font size 16 and an 800 by 600 viewport.
TEST(Transforms, ListsMultiplyFromTheRight) {
    const Elements identity = {1, 0, 0, 0, 1, 0};
    const std::pair<const char*, Elements> cases[] = {
        {"translate(10)", {1, 0, 10, 0, 1, 0}}, {"scale(2)", {2, 0, 0, 0, 2, 0}},
        {"matrix(1 2 3 4 5 6)", {1, 3, 5, 2, 4, 6}}, {"rotate(90)", {cos90, -1, 0, 1, cos90, 0}},
        {"rotate(90 10 10)", {cos90, -1, 20, 1, cos90, 0}},
        {"rotate(0.25turn)", {cos90, -1, 0, 1, cos90, 0}}, {"rotate(100grad)", {cos90, -1, 0, 1, cos90, 0}},
        {"skewX(45)", {1, 1, 0, 0, 1, 0}}, {"skew(0, 45deg)", {1, 0, 0, 1, 1, 0}},
        // The leftmost function reaches the points last.
        {"scale(2) translate(10,20)", {2, 0, 20, 0, 2, 40}},
        {" translate ( 1 , 2 ) ,\n scale(3,4)", {3, 0, 1, 0, 4, 2}},
        {"translate(10px, 1in)", {1, 0, 10, 0, 1, 96}},
        {"translateX(50%)translateY(2em)", {1, 0, 400, 0, 1, 32}},
        {"scaleX(2) scaleY(50%)", {2, 0, 0, 0, 0.5f, 0}}, {"none", identity}, {"", identity},
    };
    for (const auto& [text, expected] : cases) {
        Matrix product = Matrix::identity();
        EXPECT_TRUE(Pictavo::readTransform(text, product)) << text;
        EXPECT_EQ(elementsOf(product), elementsOf(matrixOf(expected))) << text;
    }
    Matrix moved = matrixOf({1, 0, 100, 0, 1, 0});
    Pictavo::readTransform("scale(2)", moved);
    EXPECT_EQ(elementsOf(moved), elementsOf(matrixOf({2, 0, 100, 0, 2, 0})))
        << "the caller's matrix acts last";
}

// One wrong function, argument or separator voids the whole list.
TEST(Transforms, InvalidListsChangeNothing) {
    const char* const cases[] = {
        "rotate(45 10)", "matrix(1 0 0 1 5)", "matrix(1 0 0 1 5 6 7)", "translate(10) foo(1)",
        "translate(10", "translate 10", "scale(2) 5", "translate(45deg)", "rotate(10px)", "scale(2px)",
        "translate(1),", "translate(1),,scale(2)", "none scale(2)", "translate()",
    };
    const Elements before = {1, 0, 100, 0, 1, 0};
    for (const char* text : cases) {
        Matrix product = matrixOf(before);
        EXPECT_FALSE(Pictavo::readTransform(std::string("scale(3) ") + text, product)) << text;
        EXPECT_EQ(elementsOf(product), elementsOf(matrixOf(before))) << text;
    }
}

TEST(Transforms, ViewBoxNeedsFourNumbersAndAPositiveSize) {
    const std::pair<const char*, std::optional<std::array<float, 4>>> cases[] = {
        {"0 0 100 50", {{0, 0, 100, 50}}}, {" -10,-20 , 2e2 .5 ", {{-10, -20, 200, 0.5f}}},
        {"0 0 100", std::nullopt},         {"0 0 0 50", std::nullopt},
        {"0 0 -5 5", std::nullopt},        {"0 0 1e39 5", std::nullopt},
        {"0 0 5 5 5", std::nullopt},       {"0 0 5px 5", std::nullopt}, {"0 0 5 5,", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const std::optional<Pictavo::ViewBox> box = Pictavo::readViewBox(text);
        ASSERT_EQ(box.has_value(), expected.has_value()) << text;
        if (box) {
            EXPECT_EQ((std::array<float, 4>{box->x, box->y, box->width, box->height}), *expected)
                << text;
        }
    }
}

// The viewBox (-10, -20) 100 by 50 into the viewport at (10, 20), 400 by 400:
// meet scales by 4 and leaves 200 units of height, slice scales by 8 and cuts
// 400 units of width.
TEST(Transforms, AspectRatioPlacesTheViewBox) {
    const Pictavo::ViewBox box{-10, -20, 100, 50};
    const std::pair<const char*, Elements> cases[] = {
        {"none", {4, 0, 50, 0, 8, 180}}, {"", {4, 0, 50, 0, 4, 200}},
        {"xMinYMin meet", {4, 0, 50, 0, 4, 100}}, {"xMaxYMax", {4, 0, 50, 0, 4, 300}},
        {"defer xMinYMid", {4, 0, 50, 0, 4, 200}}, {"xMidYMid slice", {8, 0, -110, 0, 8, 180}},
        {"xMaxYMin slice", {8, 0, -310, 0, 8, 180}}, {"xMinYMax slice", {8, 0, 90, 0, 8, 180}},
        {"xMidYMid bogus", {4, 0, 50, 0, 4, 200}},
    };
    for (const auto& [text, expected] : cases) {
        const Matrix mapped =
            Pictavo::viewBoxTransform(box, Pictavo::readAspectRatio(text), 10, 20, 400, 400);
        EXPECT_EQ(elementsOf(mapped), elementsOf(matrixOf(expected))) << text;
    }
}
