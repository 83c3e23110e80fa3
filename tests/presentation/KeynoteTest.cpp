#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "presentation/Keynote.h"

namespace fs = std::filesystem;
using Orvane::Keynote;
using Orvane::TransformableShape;

namespace {

const std::string headerLines =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<presentation xmlns=\"http://developer.apple.com/schemas/APXL\" version=\"36\" "
    "xmlns:plugin=\"http://developer.apple.com/schemas/APXL\">\n"
    "\t<metadata>\n"
    "\t\t<application-name>Keynote</application-name>\n"
    "\t\t<application-version>update3-20030829_1</application-version>\n"
    "\t\t<time-stamp>Sat Oct  1 00:00:00 2011</time-stamp>\n"
    "\t</metadata>\n";

// The hidden placeholders of the master slide share their styles.
const std::string placeholderStyles = R"apxl(<styles>
<fill-style fill-type="none"/>
<dash-style pattern="none"/>
<shadow-style opacity="0" radius="0"/>
</styles>
)apxl";

// The master slide up to the outline bullets.
const std::string masterStart = R"apxl(
<master-slides>
<master-slide id="master-slide-1" name="Blank">
<drawables>
<title stroke-width="1" size="644 150" visibility="hidden" vertical-alignment="middle" location="78 16" opacity="1" stroke-color="g1">
)apxl" + placeholderStyles + R"apxl(</title>
<body stroke-width="1" size="644 352" bullet-indentation="0 20 48 75 102 130" visibility="hidden" vertical-alignment="middle" location="78 170" opacity="1" stroke-color="g1">
)apxl" + placeholderStyles + R"apxl(</body>
<page-number stroke-width="1" size="39 23" visibility="hidden" vertical-alignment="middle" location="380 570" opacity="1" stroke-color="g1">
)apxl" + placeholderStyles + R"apxl(<text-attributes paragraph-alignment="center" tab-stops="L 66" font-size="14" font-name="GillSans"/>
</page-number>
</drawables>
<background-fill-style fill-type="color" fill-color="1 1 1"/>
<prototype-bullets>
<bullet level="0" marker-type="none" spacing="0">
<content paragraph-alignment="center" tab-stops="L 75" font-size="64" font-name="GillSans"/>
</bullet>
)apxl";

// Levels 1 to 5 of the prototype bullets differ only in their level.
std::string outlineBullet(int level) {
    return "<bullet level=\"" + std::to_string(level) + R"apxl(" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
)apxl";
}

// The rest of the master slide, ending in the slide's "<drawables>" without a
// line feed: the drawables, or the footer, follow on the same line.
const std::string masterEnd = R"apxl(</prototype-bullets>
<transition-style type="none" duration="0"/>
<thumbnails>
<thumbnail byte-size="360" size="60 45" file="thumbs/mt3.tiff"/>
</thumbnails>
</master-slide>
</master-slides>
</theme>
<slide-list>
<slide id="slide-1" master-slide-id="master-slide-1">
<drawables>)apxl";

const std::string footerLines = R"apxl(
<title visibility="hidden" vertical-alignment="tracks-master"/>
<body visibility="hidden" vertical-alignment="tracks-master"/>
</drawables>
<transition-style type="inherited"/>
<thumbnails>
<thumbnail byte-size="360" size="60 45" file="thumbs/st0.tiff"/>
</thumbnails>
<bullets>
<bullet level="0" marker-type="inherited">
<content paragraph-alignment="center" tab-stops="L 75" font-size="64" font-name="GillSans"/>
</bullet>
</bullets>
</slide>
</slide-list>
<ui-state>
<number key="BGShowUIStateNotesVisible">0</number>
<reference key="BGShowUIStateActiveSlide" id-ref="slide-1"/>
<array key="BGShowUIStateSelectedSlides">
<reference id-ref="slide-1"/>
</array>
<array key="BGShowUIStateSelectedBulletPoints"/>
<number key="BGShowUIStateMasterNavigatorHeight">0</number>
<array key="BGShowUIStateSelectedDrawables"/>
<string key="BGShowUIStateCanvasOrigin">{0, 0}</string>
<string key="BGShowUIStateWindowSize">24 195 960 637 0 0 1280 832 </string>
</ui-state>
</presentation>
)apxl";

std::string emptyDocument(const std::string& size) {
    std::string bullets;
    for (int level = 1; level <= 5; ++level) bullets += outlineBullet(level);
    // masterStart and footerLines begin with a line feed for readability.
    return headerLines + "<theme slide-size=\"" + size + "\">\n" + masterStart.substr(1) + bullets +
           masterEnd + footerLines.substr(1);
}

const std::string earlierText = "earlier\n", otherText = "not ours\n";

std::string contentsOf(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// "none", a file as written, earlier or other, or a folder's entries in name
// order as [name=state ...].
std::string stateOf(const fs::path& path) {
    if (!fs::exists(path)) return "none";
    if (!fs::is_directory(path)) {
        const std::string content = contentsOf(path);
        if (content == emptyDocument("800 600")) return "written";
        return content == earlierText ? "earlier" : content == otherText ? "other" : "unknown";
    }
    std::set<std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(path))
        entries.insert(entry.path().filename().string() + "=" + stateOf(entry.path()));
    std::string text;
    for (const std::string& entry : entries) text += (text.empty() ? "" : " ") + entry;
    return "[" + text + "]";
}

int writeDocument(Keynote& keynote) {
    keynote.printHeader();
    keynote.exportXML(false);
    keynote.printFooter();
    return keynote.save();
}

// A drawable that logs which index it was written with and counts deletions.
struct Recorder : TransformableShape {
    using Log = std::vector<std::pair<int, int>>;  // drawable, index
    int id;
    Log& writes;
    std::vector<int>& deletions;
    Recorder(int id, Log& writes, std::vector<int>& deletions)
        : id(id), writes(writes), deletions(deletions) {}
    ~Recorder() override { ++deletions[id]; }
    void exportXML(FILE*, int index) override { writes.emplace_back(id, index); }
};

class KeynoteBundle : public ::testing::Test {
protected:
    fs::path root;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "keynote-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }
};

}  // namespace

TEST_F(KeynoteBundle, EmptySlideJoinsDrawablesToFooter) {
    Keynote keynote((root / "a.key").c_str(), 800, 600);
    keynote.width = 1024;  // as the converter sets it from the drawing
    keynote.height = 768;
    ASSERT_EQ(writeDocument(keynote), 0);
    EXPECT_EQ(contentsOf(keynote.documentPath), emptyDocument("1024 768"));
    // Readable like any file the user makes, not private to the owner.
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(fs::status(keynote.documentPath).permissions(), fs::perms(0666 & ~mask));
}

TEST_F(KeynoteBundle, ExportOrderIndicesAndOwnership) {
    const std::tuple<bool, bool, Recorder::Log> cases[] = {  // reverse, clear first, writes
        {false, false, {{0, 0}, {1, 1}, {2, 2}}},
        {true, false, {{2, 0}, {1, 1}, {0, 2}}},
        {false, true, {}},
    };
    for (const auto& [reverse, clearFirst, expected] : cases) {
        Recorder::Log writes;
        std::vector<int> deletions(3);
        {
            Keynote keynote((root / "a.key").c_str(), 800, 600);
            for (int id = 0; id < 3; ++id) keynote.addShape(new Recorder(id, writes, deletions));
            keynote.addShape(nullptr);
            if (clearFirst) keynote.clear();
            keynote.exportXML(reverse);
        }
        EXPECT_EQ(writes, expected) << reverse << clearFirst;
        EXPECT_EQ(deletions, std::vector<int>(3, 1));
    }
}

// What is on disk after a presentation is made over what was there (a bundle,
// a regular file, a folder where the document goes), then saved or dropped.
// A failed presentation writes nothing at all.
TEST_F(KeynoteBundle, LifeCycle) {
    enum Before { nothing, emptyBundle, earlierBundle, regularFile, documentFolder };
    struct Case {
        const char* bundle;
        Before before;
        bool fullDisk, save;
        int error, saveResult;
        const char* after;
    } cases[] = {
        {"b.key", nothing, false, true, 0, 0, "[presentation.apxl=written]"},
        {"b.key", nothing, false, false, 0, 0, "none"},
        {"b.key", earlierBundle, false, true, 0, 0, "[other.txt=other presentation.apxl=written]"},
        {"b.key", earlierBundle, false, false, 0, 0, "[other.txt=other presentation.apxl=earlier]"},
        {"b.key", emptyBundle, false, false, 0, 0, "[]"},
        {"b.key", earlierBundle, true, true, 0, 1, "[other.txt=other presentation.apxl=earlier]"},
        {"b.key", nothing, true, true, 0, 1, "none"},
        {"b.key", documentFolder, false, true, 0, 1, "[presentation.apxl=[]]"},
        {"missing/b.key", nothing, false, true, 1, 1, "none"},
        {"b.key", regularFile, false, true, 1, 1, "other"},
    };
    for (const Case& c : cases) {
        const fs::path folder = root / std::to_string(&c - cases), bundle = folder / c.bundle;
        SCOPED_TRACE(folder);
        fs::create_directory(folder);
        if (c.before == emptyBundle || c.before == earlierBundle) fs::create_directory(bundle);
        if (c.before == earlierBundle) {
            std::ofstream(bundle / "presentation.apxl") << earlierText;
            std::ofstream(bundle / "other.txt") << otherText;
        }
        if (c.before == regularFile) std::ofstream(bundle) << otherText;
        if (c.before == documentFolder) fs::create_directories(bundle / "presentation.apxl");
        Recorder::Log writes;
        std::vector<int> deletions(1);
        {
            Keynote keynote(bundle.c_str(), 800, 600);
            ASSERT_EQ(keynote.error(), c.error);
            if (c.fullDisk) {
                std::fclose(keynote.file);
                ASSERT_NE(keynote.file = std::fopen("/dev/full", "w"), nullptr);
            }
            keynote.addShape(new Recorder(0, writes, deletions));
            if (c.save) {
                EXPECT_EQ(writeDocument(keynote), c.saveResult);
            }
        }
        EXPECT_EQ(writes.size(), c.save && !c.error ? 1u : 0u);
        EXPECT_EQ(deletions[0], 1);
        EXPECT_EQ(stateOf(bundle), c.after);
    }
}
