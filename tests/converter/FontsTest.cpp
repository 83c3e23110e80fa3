#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "converter/Fonts.h"
#include "converter/TextLayout.h"

using namespace Pictavo;

TEST(Fonts, PresentedFamilyIsTheFirstOfTheList) {
    const std::pair<const char*, const char*> rows[] = {
        {"Times,serif", "Times"},
        {" 'Gill Sans' , sans-serif", "Gill Sans"},
        {"Times New Roman, serif", "Times New Roman"},
        {"serif", "Times"},
        {"SANS-SERIF, Arial", "Helvetica"},
        {"monospace", "Courier"},
        {"'monospace'", "monospace"},  // quoted: a family of that name, not the generic one
        {"", ""},
        {"'unclosed", ""},
        {"Gill \"Sans\"", ""},
        {"Gill 2", ""},
    };
    for (const auto& [list, expected] : rows) EXPECT_EQ(presentedFontFamily(list), expected) << list;
}

TEST(Fonts, SizeInUserUnits) {
    const std::pair<const char*, std::optional<float>> rows[] = {
        {"12", 12.0f},     {"9pt", 12.0f},   {"2em", 20.0f},    {"150%", 15.0f},
        {" large ", 18.0f},
        {"larger", 12.0f}, {"-3px", std::nullopt}, {"12px bold", std::nullopt},
        {"90deg", std::nullopt}, {"big", std::nullopt},
    };
    for (const auto& [text, expected] : rows) {
        std::optional<float> size = readFontSize(text, 10);
        EXPECT_EQ(size.has_value(), expected.has_value()) << text;
        if (size && expected) {
            EXPECT_NEAR(*size, *expected, 1e-4f) << text;
        }
    }
}

TEST(Fonts, WeightStyleAndAnchorKeywords) {
    const std::pair<const char*, std::optional<bool>> weights[] = {
        {"bold", true}, {"BOLDER", true}, {"600", true}, {"599", false}, {"normal", false},
        {"1001", std::nullopt}, {"12px", std::nullopt}, {"heavy", std::nullopt},
    };
    for (const auto& [text, bold] : weights) EXPECT_EQ(readFontWeightBold(text), bold) << text;
    const std::pair<const char*, std::optional<bool>> styles[] = {
        {"italic", true}, {"oblique", true}, {"normal", false}, {"slanted", std::nullopt}};
    for (const auto& [text, italic] : styles) EXPECT_EQ(readFontStyleItalic(text), italic) << text;
    const std::pair<const char*, std::optional<TextAnchor>> anchors[] = {
        {"middle", TextAnchor::Middle}, {" end", TextAnchor::End}, {"start", TextAnchor::Start},
        {"center", std::nullopt}, {"end end", std::nullopt}};
    for (const auto& [text, anchor] : anchors) EXPECT_EQ(readTextAnchor(text), anchor) << text;
}

TEST(Fonts, Shorthand) {
    struct Row {
        const char* text;
        bool valid;
        bool italic, bold;
        float size;
        const char* family;
    };
    const Row rows[] = {
        {"12px sans-serif", true, false, false, 12, "sans-serif"},
        {"italic bold 10pt/1.5 'Gill Sans', serif", true, true, true, 40 / 3.0f, "'Gill Sans', serif"},
        {"normal small-caps 700 condensed 2em Arial", true, false, true, 20, "Arial"},
        {"bold 150%/normal Times", true, false, true, 15, "Times"},
        {"12px", false, false, false, 0, ""},
        {"bold Arial", false, false, false, 0, ""},
        {"caption", false, false, false, 0, ""},
    };
    for (const Row& row : rows) {
        std::optional<FontShorthand> font = readFontShorthand(row.text, 10);
        ASSERT_EQ(font.has_value(), row.valid) << row.text;
        if (!font) continue;
        EXPECT_EQ(font->italic, row.italic) << row.text;
        EXPECT_EQ(font->bold, row.bold) << row.text;
        EXPECT_NEAR(font->size, row.size, 1e-4f) << row.text;
        EXPECT_EQ(font->family, row.family) << row.text;
    }
}

// Pieces of character data appended in turn, with or without preserve.
TEST(TextLayout, WhiteSpaceCollapsesAcrossPieces) {
    struct Row {
        std::vector<std::pair<const char*, bool>> pieces;
        const char* text;
        bool visible;
    };
    const Row rows[] = {
        {{{"  Hello \n  World  ", false}}, "Hello World", true},
        {{{"a\nb", false}}, "ab", true},
        {{{"a\tb", false}}, "a b", true},
        {{{"a", false}, {"  ", false}, {"b ", false}}, "a b", true},
        {{{"  a\n\tb ", true}}, "  a  b ", true},
        {{{" \n\t ", false}}, "", false},
        {{{"   ", true}}, "   ", false},
    };
    for (const Row& row : rows) {
        CollapsedText text;
        for (const auto& [data, preserve] : row.pieces) text.append(data, preserve);
        EXPECT_EQ(std::string(text.text()), row.text);
        EXPECT_EQ(text.visible(), row.visible) << row.text;
    }
}
