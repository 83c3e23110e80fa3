#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
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

// The master slide, ending in the slide's "<drawables>" without a line feed.
const std::string masterLines = R"apxl(
<master-slides>
<master-slide id="master-slide-1" name="Blank">
<drawables>
<title stroke-width="1" size="644 150" visibility="hidden" vertical-alignment="middle" location="78 16" opacity="1" stroke-color="g1">
<styles>
<fill-style fill-type="none"/>
<dash-style pattern="none"/>
<shadow-style opacity="0" radius="0"/>
</styles>
</title>
<body stroke-width="1" size="644 352" bullet-indentation="0 20 48 75 102 130" visibility="hidden" vertical-alignment="middle" location="78 170" opacity="1" stroke-color="g1">
<styles>
<fill-style fill-type="none"/>
<dash-style pattern="none"/>
<shadow-style opacity="0" radius="0"/>
</styles>
</body>
<page-number stroke-width="1" size="39 23" visibility="hidden" vertical-alignment="middle" location="380 570" opacity="1" stroke-color="g1">
<styles>
<fill-style fill-type="none"/>
<dash-style pattern="none"/>
<shadow-style opacity="0" radius="0"/>
</styles>
<text-attributes paragraph-alignment="center" tab-stops="L 66" font-size="14" font-name="GillSans"/>
</page-number>
</drawables>
<background-fill-style fill-type="color" fill-color="1 1 1"/>
<prototype-bullets>
<bullet level="0" marker-type="none" spacing="0">
<content paragraph-alignment="center" tab-stops="L 75" font-size="64" font-name="GillSans"/>
</bullet>
<bullet level="1" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
<bullet level="2" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
<bullet level="3" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
<bullet level="4" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
<bullet level="5" marker-type="character" spacing="18">
<content paragraph-head-indent="5" paragraph-first-line-indent="5" tab-stops="L 45" font-size="32" font-name="GillSans"/>
<character-bullet-style size-technique="relative" size="1.71429">
<bullet-characters tab-stops="L 66" font-size="8" font-name="GillSans">+</bullet-characters>
</character-bullet-style>
</bullet>
</prototype-bullets>
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
    // The raw strings above start with a line feed for readability.
    return headerLines + "<theme slide-size=\"" + size + "\">\n" + masterLines.substr(1) +
           footerLines.substr(1);
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TemporaryFolder : public ::testing::Test {
protected:
    fs::path root;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "keynote-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }
};

int writeDocument(Keynote& keynote) {
    keynote.printHeader();
    keynote.exportXML(false);
    keynote.printFooter();
    return keynote.save();
}

// A drawable that logs which index it was written with and counts deletions.
class Recorder : public TransformableShape {
public:
    Recorder(int id, std::vector<std::pair<int, int>>& writes, std::vector<int>& deletions)
        : id(id), writes(writes), deletions(deletions) {}
    ~Recorder() override { ++deletions[id]; }
    void exportXML(FILE*, int index) override { writes.emplace_back(id, index); }

private:
    int id;
    std::vector<std::pair<int, int>>& writes;
    std::vector<int>& deletions;
};

}  // namespace

using KeynoteDocument = TemporaryFolder;

TEST_F(KeynoteDocument, EmptySlideJoinsDrawablesToFooter) {
    Keynote keynote((root / "a.key").c_str(), 800, 600);
    keynote.width = 1024;  // as the converter sets it from the drawing
    keynote.height = 768;
    ASSERT_EQ(writeDocument(keynote), 0);
    const std::string document = contentsOf(keynote.documentPath);
    EXPECT_EQ(document, emptyDocument("1024 768"));

    std::istringstream in(document);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 7u + 1 + 72 + 27 - 1);
    EXPECT_EQ(lines[7], "<theme slide-size=\"1024 768\">");
    EXPECT_EQ(lines[79],
              "<drawables><title visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>");
    EXPECT_EQ(lines.back(), "</presentation>");
}

TEST_F(KeynoteDocument, ExportOrderIndicesAndOwnership) {
    struct Case {
        bool reverse;
        bool clearFirst;
        std::vector<std::pair<int, int>> writes;  // drawable, index
    } cases[] = {
        {false, false, {{0, 0}, {1, 1}, {2, 2}}},
        {true, false, {{2, 0}, {1, 1}, {0, 2}}},
        {false, true, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> writes;
        std::vector<int> deletions(3);
        {
            Keynote keynote((root / "a.key").c_str(), 800, 600);
            for (int id = 0; id < 3; ++id) keynote.addShape(new Recorder(id, writes, deletions));
            keynote.addShape(nullptr);
            if (c.clearFirst) keynote.clear();
            keynote.exportXML(c.reverse);
        }
        EXPECT_EQ(writes, c.writes) << c.reverse << c.clearFirst;
        EXPECT_EQ(deletions, std::vector<int>(3, 1));
    }
}

using KeynoteBundle = TemporaryFolder;

TEST_F(KeynoteBundle, LifeCycle) {
    enum Before { nothing, emptyBundle, earlierDocument, regularFile, missingParent, docIsFolder };
    enum After { noBundle, bundle, earlierBundle, untouchedFile };
    enum Document { none, earlier, written, folder };
    const std::string earlierText = "earlier\n", otherText = "not ours\n";
    struct Case {
        const char* name;
        Before before;
        bool fullDisk;
        bool save;
        int error, saveResult;
        After after;
        Document document;
    } cases[] = {
        {"new bundle saved", nothing, false, true, 0, 0, bundle, written},
        {"new bundle not saved", nothing, false, false, 0, 0, noBundle, none},
        {"reused bundle replaced", earlierDocument, false, true, 0, 0, earlierBundle, written},
        {"reused bundle not saved", earlierDocument, false, false, 0, 0, earlierBundle, earlier},
        {"empty bundle kept", emptyBundle, false, false, 0, 0, bundle, none},
        {"full disk keeps earlier", earlierDocument, true, true, 0, 1, earlierBundle, earlier},
        {"full disk removes new bundle", nothing, true, true, 0, 1, noBundle, none},
        {"document name taken", docIsFolder, false, true, 0, 1, bundle, folder},
        {"missing parent", missingParent, false, true, 1, 1, noBundle, none},
        {"bundle is a regular file", regularFile, false, true, 1, 1, untouchedFile, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path parent = root / c.name;
        fs::create_directory(parent);
        fs::path bundlePath = parent / (c.before == missingParent ? "missing/b.key" : "b.key");
        fs::path document = bundlePath / "presentation.apxl";
        if (c.before == emptyBundle || c.before == earlierDocument) {
            fs::create_directory(bundlePath);
        }
        if (c.before == earlierDocument) {
            std::ofstream(document) << earlierText;
            std::ofstream(bundlePath / "other.txt") << otherText;
        }
        if (c.before == regularFile) std::ofstream(bundlePath) << otherText;
        if (c.before == docIsFolder) fs::create_directories(document);
        {
            Keynote keynote(bundlePath.c_str(), 800, 600);
            ASSERT_EQ(keynote.error(), c.error);
            if (c.fullDisk) {
                std::fclose(keynote.file);
                keynote.file = std::fopen("/dev/full", "w");
                ASSERT_NE(keynote.file, nullptr);
            }
            if (c.save) {
                EXPECT_EQ(writeDocument(keynote), c.saveResult);
            }
        }
        const bool directory = c.after == bundle || c.after == earlierBundle;
        EXPECT_EQ(fs::exists(bundlePath), c.after != noBundle);
        EXPECT_EQ(fs::is_directory(bundlePath), directory);
        EXPECT_EQ(fs::exists(document), c.document != none);
        if (directory) {
            long entries = (c.document != none) + (c.after == earlierBundle);
            EXPECT_EQ(std::distance(fs::directory_iterator(bundlePath), {}), entries)
                << "a temporary file was left behind";
        }
        if (c.after == untouchedFile) {
            EXPECT_EQ(contentsOf(bundlePath), otherText);
        }
        if (c.after == earlierBundle) {
            EXPECT_EQ(contentsOf(bundlePath / "other.txt"), otherText);
        }
        if (c.document == earlier) {
            EXPECT_EQ(contentsOf(document), earlierText);
        }
        if (c.document == folder) {
            EXPECT_TRUE(fs::is_directory(document));
        }
        if (c.document == written) {
            EXPECT_EQ(contentsOf(document), emptyDocument("800 600"));
            // Readable like any file the user makes, not private to the owner.
            mode_t mask = umask(0);
            umask(mask);
            EXPECT_EQ(fs::status(document).permissions(), fs::perms(0666 & ~mask));
        }
    }
}

TEST_F(KeynoteBundle, LongNamesAndFailedPresentationsWriteNothing) {
    fs::path longName = root / std::string(200, 'n');
    for (int depth = 0; depth < 6; ++depth) longName /= std::string(200, 'd');
    fs::create_directories(longName);
    Keynote longBundle((longName / "b.key").c_str(), 800, 600);
    EXPECT_EQ(longBundle.documentPath, (longName / "b.key/presentation.apxl").string());
    EXPECT_EQ(writeDocument(longBundle), 0);
    EXPECT_EQ(contentsOf(longBundle.documentPath), emptyDocument("800 600"));

    std::vector<std::pair<int, int>> writes;
    std::vector<int> deletions(1);
    {
        Keynote failed((root / "missing/b.key").c_str(), 800, 600);
        ASSERT_EQ(failed.error(), 1);
        failed.addShape(new Recorder(0, writes, deletions));
        EXPECT_EQ(writeDocument(failed), 1);
    }
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(deletions[0], 1);
}
