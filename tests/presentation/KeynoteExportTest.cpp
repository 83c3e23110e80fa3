#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/Text.h"
#include "presentation/Written.h"

namespace fs = std::filesystem;
using Orvane::Keynote;
using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;
using Orvane::Text;
using Orvane::TransformableShape;

namespace {

Path* figure(int i, bool closed, bool curved) {
    auto* path = new Path();
    const float x = static_cast<float>(i % 97) * 1.5f, y = static_cast<float>(i % 89) * 0.75f;
    PathSegment first(Point(x, y), Point(x + 30, y + (i % 7)), !curved);
    first.control1 = Point(x + 5, y - 20);
    first.control2 = Point(x + 25, y + 40);
    path->addSegment(first);
    path->addSegment(PathSegment(first.end, Point(x + 10, y + 50), true));
    path->closed = closed;
    return path;
}

Path::Stroke stroke(int i, const char* pattern) {
    Path::Stroke line{{false, {{0, 0, 1, 1}, {0, 0, 0, 1}}, 0}, 0.5f + (i % 5), *pattern == '\0', ""};
    line.setPattern(pattern);
    return line;
}

Path::Fill fill(int i, bool gradient) {
    return {{gradient, {{1, 0, 0, 1}, {0, 1, 0, 0.5f}}, static_cast<float>(i % 360)}};
}

// Drawable i of a varied mix: text boxes, open and closed figures of straight
// and curved segments with strokes, dashes and fills, compound paths, lines,
// and paths without segments, which write nothing.
TransformableShape* drawable(int i) {
    Path* path = nullptr;
    switch (i % 6) {
        case 0: {
            auto* box = new Text("box " + std::to_string(i) + " ]]> & <");
            box->setPosition(static_cast<float>(i % 800), static_cast<float>(i % 600) / 3);
            box->fontName = i % 2 ? "Serif \"Bold\"" : "Sans";
            box->alignment = i % 3;
            return box;
        }
        case 1: return new Path();
        case 2:
            path = figure(i, true, false);
            path->fills = {fill(i, false)};
            path->strokes = {stroke(i, "")};
            return path;
        case 3:
            path = figure(i, false, true);
            path->fills = {fill(i, true), fill(i + 1, false)};
            path->strokes = {stroke(i, "4 2 <&>")};
            return path;
        case 4:
            path = figure(i, false, false);
            path->isLine = true;
            path->strokes = {stroke(i, "1 1")};
            return path;
        default:
            path = figure(i, true, true);
            path->addSubpath(figure(i + 3, true, false));
            path->addSubpath(new Path());
            path->strokes = {stroke(i, ""), stroke(i + 1, "3")};
            return path;
    }
}

std::string contentsOf(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Where two long texts part, with the text that follows there in each.
std::string firstDifference(const std::string& found, const std::string& expected) {
    if (found == expected) return "none";
    const auto at = std::mismatch(found.begin(), found.end(), expected.begin(), expected.end());
    const std::size_t offset = at.first - found.begin();
    return "at byte " + std::to_string(offset) + ": found \"" + found.substr(offset, 60) +
           "\", expected \"" + expected.substr(offset, 60) + "\"";
}

}  // namespace

// Large documents are formatted in batches by more than one thread; whatever
// the count, the document holds each drawable's element as it writes it
// alone, in the export order and with its place in it as the index.
TEST(KeynoteExport, DocumentIsEveryDrawableWrittenInTurn) {
    const std::tuple<int, bool> cases[] = {  // drawables, reverse
        {1, false}, {700, true}, {4096, false}, {6007, false}, {6007, true}, {20011, false},
    };
    std::string folder = (fs::temp_directory_path() / "keynote-export-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    for (const auto& [count, reverse] : cases) {
        SCOPED_TRACE(std::to_string(count) + (reverse ? " reversed" : ""));
        Keynote keynote((folder + "/" + std::to_string(count) + ".key").c_str(), 800, 600);
        ASSERT_EQ(keynote.error(), 0);
        for (int i = 0; i < count; ++i) keynote.addShape(drawable(i));
        const std::string expected = written([&](FILE* stream) {
            for (int k = 0; k < count; ++k)
                keynote.shapes[reverse ? count - 1 - k : k]->exportXML(stream, k);
        });
        keynote.exportXML(reverse);
        ASSERT_EQ(keynote.save(), 0);
        EXPECT_EQ(firstDifference(contentsOf(keynote.documentPath), expected), "none");
    }
    fs::remove_all(folder);
}
