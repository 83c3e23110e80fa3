#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "presentation/DocumentFrame.h"
#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/TemporaryFolder.h"
#include "presentation/Text.h"

namespace fs = std::filesystem;
using Orvane::Keynote;
using Orvane::Path;
using Orvane::PathSegment;
using Orvane::Point;
using Orvane::Text;
using Orvane::TransformableShape;

namespace {

// Drawable i of a mix the writer must keep in order: text boxes, filled and
// stroked paths, and paths without segments, which write nothing.
std::unique_ptr<TransformableShape> drawable(int i) {
    if (i % 3 == 0) {
        auto box = std::make_unique<Text>("box " + std::to_string(i));
        box->setPosition(static_cast<float>(i % 800), 1);
        return box;
    }
    auto path = std::make_unique<Path>();
    if (i % 3 == 1) return path;
    const float x = static_cast<float>(i % 97);
    path->addSegment(PathSegment(Point(x, 0), Point(x + 30, 50), true));
    path->fills.resize(1);
    path->strokes.resize(1);
    return path;
}

// The document of a slide of the size given holding drawables 0 to count - 1,
// each as it writes itself alone.
std::string documentOf(int width, int height, int count) {
    std::string text;
    Orvane::appendDocumentHeader(text, width, height);
    for (int i = 0; i < count; ++i) drawable(i)->write(text, i);
    Orvane::appendDocumentFooter(text);
    return text;
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

// Throws while it is written, as a drawable does when memory runs out.
class Unwritable : public TransformableShape {
public:
    void write(std::string&, int) const override { throw std::bad_alloc(); }
};

class KeynoteExport : public TemporaryFolder {};

}  // namespace

// Few drawables are written at the commit, many on the writer's thread while
// more are added: either way each in turn, numbered in order, between the
// header that holds the size and the footer. Nothing else stays in the bundle.
TEST_F(KeynoteExport, WritesTheDrawablesInOrderBetweenHeaderAndFooter) {
    struct Row {
        int drawables;
        bool sized;
    };
    const Row rows[] = {{0, false}, {127, true}, {5003, true}, {20000, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.drawables);
        const std::string bundle = folder.string() + "/" + std::to_string(row.drawables) + ".key";
        Keynote keynote(bundle.c_str());
        if (row.sized) keynote.setSize(1024, 76);
        for (int i = 0; i < row.drawables; ++i) keynote.add(drawable(i));
        ASSERT_EQ(keynote.commit(), 0);
        const std::string expected = row.sized ? documentOf(1024, 76, row.drawables)
                                               : documentOf(800, 600, row.drawables);
        EXPECT_EQ(firstDifference(contentsOf(keynote.documentPath()), expected), "none");
        EXPECT_EQ(listing(bundle), "presentation.apxl=document");
    }
}

// A call out of order is refused: the document is the one the calls in order
// give. After the commit, adding and sizing change nothing, and a second
// commit fails without touching the document.
TEST_F(KeynoteExport, RefusesCallsOutOfOrder) {
    struct Row {
        const char* label;
        std::function<void(Keynote&)> calls;
        int drawables;
    };
    const Row rows[] = {
        {"sized after a drawable",
         [](Keynote& k) { k.setSize(90, 40); k.add(drawable(0)); k.setSize(5, 5); }, 1},
        {"sized twice", [](Keynote& k) { k.setSize(90, 40); k.setSize(5, 5); }, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string bundle = folder.string() + "/" + row.label;
        Keynote keynote(bundle.c_str());
        row.calls(keynote);
        ASSERT_EQ(keynote.commit(), 0);
        keynote.add(drawable(1));
        keynote.setSize(7, 7);
        EXPECT_EQ(keynote.commit(), 1);
        const std::string expected = documentOf(90, 40, row.drawables);
        EXPECT_EQ(firstDifference(contentsOf(keynote.documentPath()), expected), "none");
        EXPECT_EQ(listing(bundle), "presentation.apxl=document");
    }
}

// A run that ends without a commit, while the writer's thread may still be
// busy, leaves the bundle as it found it; so does a commit that throws what
// writing a drawable threw on that thread.
TEST_F(KeynoteExport, UncommittedRunLeavesTheBundleAsFound) {
    struct Row {
        const char* label;
        bool bundleExisted;
        bool throwing;  // a drawable throws when written, and the commit with it
    };
    const Row rows[] = {
        {"new bundle", false, false},
        {"existing bundle", true, false},
        {"drawable throws", false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string bundle = folder.string() + "/" + row.label + ".key";
        if (row.bundleExisted) {
            ASSERT_TRUE(fs::create_directory(bundle));
        }
        {
            Keynote keynote(bundle.c_str());
            ASSERT_EQ(keynote.error(), 0);
            for (int i = 0; i < 20000; ++i)
                keynote.add(i == 300 && row.throwing ? std::make_unique<Unwritable>() : drawable(i));
            if (row.throwing) {
                EXPECT_THROW(keynote.commit(), std::bad_alloc);
            }
        }
        EXPECT_EQ(fs::exists(bundle), row.bundleExisted);
        if (row.bundleExisted) {
            EXPECT_TRUE(fs::is_empty(bundle));
        }
    }
}
