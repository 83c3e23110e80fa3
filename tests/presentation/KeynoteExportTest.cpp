#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/Text.h"

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

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

struct ExportRun {
    const char* label;
    int drawables;
    bool reverse;
    bool headerFirst;  // the header printed before any drawable is added
    int width;         // the slide size set once the first drawable is added
    int height;
};

// Writes a document the way the program does, the slide size changing after
// the first drawable as a nested drawing's would; returns the bundle's folder.
std::string writeDocument(const std::string& bundle, const ExportRun& run, bool whileAdding) {
    Keynote keynote(bundle.c_str(), 800, 600);
    if (keynote.error()) return "";
    if (whileAdding) keynote.exportWhileAdding();
    if (run.headerFirst) keynote.printHeader();
    for (int i = 0; i < run.drawables; ++i) {
        keynote.addShape(drawable(i));
        keynote.width = run.width;
        keynote.height = run.height;
    }
    if (!run.headerFirst) keynote.printHeader();
    keynote.exportXML(run.reverse);
    keynote.printFooter();
    return keynote.save() == 0 ? keynote.documentPath : "";
}

class KeynoteExport : public ::testing::Test {
protected:
    std::string folder = (fs::temp_directory_path() / "keynote-export-XXXXXX").string();
    void SetUp() override { ASSERT_NE(mkdtemp(folder.data()), nullptr); }
    void TearDown() override { fs::remove_all(folder); }
};

}  // namespace

// Written while they are added, the drawables give the document they give
// written at the end: the header in front with the final slide size, whether
// it fits the room left for it or the drawables had to move behind it.
TEST_F(KeynoteExport, WritingWhileAddingGivesTheSameDocument) {
    const ExportRun runs[] = {
        {"size unchanged", 5003, false, false, 800, 600},
        {"same number of digits", 5003, false, false, 1024, 768},
        {"more digits", 5003, false, false, 10000, 600},
        {"fewer digits", 3001, false, false, 80, 6},
        {"reversed", 5003, true, false, 800, 600},
        {"reversed after a move", 2000, true, false, 800, 60000},
        {"header before the drawables", 3001, false, true, 800, 600},
        {"no drawables", 0, false, false, 800, 600},
    };
    for (const ExportRun& run : runs) {
        SCOPED_TRACE(run.label);
        const std::string name = folder + "/" + std::to_string(&run - runs);
        const std::string plain = writeDocument(name + "-plain.key", run, false);
        const std::string whileAdding = writeDocument(name + ".key", run, true);
        ASSERT_NE(plain, "");
        ASSERT_NE(whileAdding, "");
        EXPECT_EQ(firstDifference(contentsOf(whileAdding), contentsOf(plain)), "none");
        EXPECT_EQ(entriesOf(name + ".key"), std::vector<std::string>{"presentation.apxl"});
    }
}

// A run that fails after the conversion started leaves the bundle as it
// found it, while the writer may still be busy with the drawables.
TEST_F(KeynoteExport, UnsavedDocumentIsCleanedUpWhileTheWriterRuns) {
    const std::tuple<const char*, bool, bool> cases[] = {  // bundle existed, header printed (moved)
        {"new bundle", false, false},
        {"existing bundle", true, false},
        {"after the drawables moved", false, true},
    };
    for (const auto& [label, bundleExisted, headerPrinted] : cases) {
        SCOPED_TRACE(label);
        const std::string bundle = folder + "/" + label + ".key";
        if (bundleExisted) {
            ASSERT_TRUE(fs::create_directory(bundle));
        }
        {
            Keynote keynote(bundle.c_str(), 800, 600);
            ASSERT_EQ(keynote.error(), 0);
            keynote.exportWhileAdding();
            for (int i = 0; i < 20000; ++i) keynote.addShape(drawable(i));
            keynote.width = 100000;
            if (headerPrinted) {
                EXPECT_EQ(keynote.printHeader(), 0);
            }
        }
        EXPECT_EQ(fs::exists(bundle), bundleExisted);
        if (bundleExisted) {
            EXPECT_TRUE(fs::is_empty(bundle));
        }
    }
}
