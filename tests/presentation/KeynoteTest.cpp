#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/Text.h"

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

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
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

    std::string write(Keynote& keynote) {
        keynote.printHeader();
        keynote.exportXML(false);
        keynote.printFooter();
        EXPECT_EQ(keynote.save(), 0);
        return contentsOf(keynote.documentPath);
    }
};

// A drawable that logs where it was written and counts its deletions.
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
    ASSERT_EQ(keynote.error(), 0);
    std::string document = write(keynote);
    EXPECT_EQ(document, emptyDocument("800 600"));

    std::vector<std::string> lines = linesOf(document);
    ASSERT_EQ(lines.size(), 7u + 1 + 72 + 27 - 1);
    EXPECT_EQ(lines[7], "<theme slide-size=\"800 600\">");
    EXPECT_EQ(lines[8], "<master-slides>");
    EXPECT_EQ(lines[79],
              "<drawables><title visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>");
    EXPECT_EQ(lines.back(), "</presentation>");
    EXPECT_EQ(document.back(), '\n');
}

TEST_F(KeynoteDocument, ThemeCarriesSizeSetAfterConstruction) {
    Keynote keynote((root / "a.key").c_str(), 800, 600);
    keynote.width = 1024;
    keynote.height = 768;
    EXPECT_EQ(write(keynote), emptyDocument("1024 768"));
}

TEST_F(KeynoteDocument, DrawablesStandBetweenHeaderAndFooter) {
    Keynote keynote((root / "a.key").c_str(), 400, 300);
    auto* rectangle = new Orvane::Path();
    Orvane::Point corners[] = {{10, 20}, {110, 20}, {110, 70}, {10, 20}};
    for (int i = 1; i < 4; ++i) rectangle->addSegment({corners[i - 1], corners[i], true});
    rectangle->closed = true;
    rectangle->fills.emplace_back();
    keynote.addShape(rectangle);
    auto* label = new Orvane::Text("Hi");
    label->fontName = "Helvetica";
    keynote.addShape(label);

    const std::string rectangleLines =
        "<shape path=\"M 0.000000 0.000000 L 100.000000 0.000000 L 100.000000 100.000000 L "
        "0.000000 0.000000 Z\" transformation=\"1.000000 0.000000 0.000000 0.500000 10.000000 "
        "20.000000\" stroke-color=\"0 0 0 1\" stroke-width=\"1\">\n<styles>\n"
        "<fill-style fill-type=\"color\" fill-color=\"0.000000 0.000000 0.000000 1.000000\" />\n"
        "<dash-style pattern=\"none\" />\n</styles></shape>\n";
    const std::string labelLines =
        "<textbox id=\"textbox-1\" grow-horizontally=\"true\" transformation=\"1.000000 0.000000 "
        "0.000000 1.000000 0.000000 0.000000\" size=\"100.000000 100.000000\">\n"
        "<content tab-stops=\"L 84\" font-size=\"16.000000\" font-name=\"Helvetica\" "
        "paragraph-line-spacing=\"0.000000\" paragraph-alignment=\"left\">\n"
        "<![CDATA[Hi]]>\n</content>\n</textbox>\n";
    std::string expected = emptyDocument("400 300");
    expected.insert(expected.find("<drawables><title") + 11, rectangleLines + labelLines);
    EXPECT_EQ(write(keynote), expected);
}

TEST_F(KeynoteDocument, ExportOrderAndIndices) {
    struct Case {
        bool reverse;
        std::vector<std::pair<int, int>> writes;  // drawable, index
    } cases[] = {
        {false, {{0, 0}, {1, 1}, {2, 2}}},
        {true, {{2, 0}, {1, 1}, {0, 2}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> writes;
        std::vector<int> deletions(3);
        {
            Keynote keynote((root / "a.key").c_str(), 800, 600);
            for (int id = 0; id < 3; ++id) keynote.addShape(new Recorder(id, writes, deletions));
            keynote.exportXML(c.reverse);
        }
        EXPECT_EQ(writes, c.writes) << "reverse " << c.reverse;
        EXPECT_EQ(deletions, std::vector<int>(3, 1));
    }
}

TEST_F(KeynoteDocument, ClearDeletesOnceAndLeavesNothingToWrite) {
    std::vector<std::pair<int, int>> writes;
    std::vector<int> deletions(2);
    {
        Keynote keynote((root / "a.key").c_str(), 800, 600);
        keynote.addShape(new Recorder(0, writes, deletions));
        keynote.addShape(nullptr);
        keynote.addShape(new Recorder(1, writes, deletions));
        keynote.clear();
        EXPECT_EQ(deletions, std::vector<int>({1, 1}));
        EXPECT_EQ(write(keynote), emptyDocument("800 600"));
        keynote.clear();
    }
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(deletions, std::vector<int>({1, 1}));
}

TEST_F(KeynoteDocument, LongBundleNames) {
    fs::path bundle = root / (std::string(200, 'n') + ".key");
    fs::path nested = bundle / (std::string(200, 'm') + ".key");
    for (int depth = 0; depth < 5; ++depth) nested = nested / std::string(200, 'd');
    fs::create_directories(nested.parent_path());
    Keynote keynote(nested.c_str(), 800, 600);
    ASSERT_EQ(keynote.error(), 0);
    EXPECT_EQ(keynote.documentPath, nested.string() + "/presentation.apxl");
    EXPECT_EQ(write(keynote), emptyDocument("800 600"));
}

namespace {

enum class Before {
    nothing,
    emptyBundle,
    earlierDocument,
    regularFile,
    missingParent,
    documentIsFolder,
};
enum class After { noBundle, bundle, regularFile };
enum class Document { none, earlier, written, folder };

const std::string earlierText = "earlier document\n";
const std::string otherFileText = "not ours\n";

}  // namespace

using KeynoteBundle = TemporaryFolder;

TEST_F(KeynoteBundle, LifeCycle) {
    struct Case {
        const char* name;
        Before before;
        bool fullDisk;  // every write fails
        bool save;
        int error;
        int saveResult;
        After after;
        Document document;
    } cases[] = {
        {"new bundle saved", Before::nothing, false, true, 0, 0, After::bundle, Document::written},
        {"new bundle not saved", Before::nothing, false, false, 0, 0, After::noBundle,
         Document::none},
        {"reused bundle replaced", Before::earlierDocument, false, true, 0, 0, After::bundle,
         Document::written},
        {"reused bundle not saved", Before::earlierDocument, false, false, 0, 0, After::bundle,
         Document::earlier},
        {"empty bundle kept", Before::emptyBundle, false, false, 0, 0, After::bundle,
         Document::none},
        {"full disk keeps earlier", Before::earlierDocument, true, true, 0, 1, After::bundle,
         Document::earlier},
        {"full disk removes new bundle", Before::nothing, true, true, 0, 1, After::noBundle,
         Document::none},
        {"document name taken", Before::documentIsFolder, false, true, 0, 1, After::bundle,
         Document::folder},
        {"missing parent", Before::missingParent, false, true, 1, 1, After::noBundle,
         Document::none},
        {"bundle is a regular file", Before::regularFile, false, true, 1, 1, After::regularFile,
         Document::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path parent = root / c.name;
        fs::create_directory(parent);
        fs::path bundle = parent / "drawing.key";
        fs::path document = bundle / "presentation.apxl";
        switch (c.before) {
            case Before::nothing: break;
            case Before::emptyBundle: fs::create_directory(bundle); break;
            case Before::earlierDocument:
                fs::create_directory(bundle);
                writeFile(document, earlierText);
                writeFile(bundle / "other.txt", otherFileText);
                break;
            case Before::regularFile: writeFile(bundle, otherFileText); break;
            case Before::missingParent: bundle = parent / "missing" / "drawing.key"; break;
            case Before::documentIsFolder: fs::create_directories(document); break;
        }
        {
            Keynote keynote(bundle.c_str(), 800, 600);
            ASSERT_EQ(keynote.error(), c.error);
            if (c.fullDisk) {
                FILE* full = std::fopen("/dev/full", "w");
                ASSERT_NE(full, nullptr);
                std::fclose(keynote.file);
                keynote.file = full;
            }
            if (c.save) {
                keynote.printHeader();
                keynote.exportXML(false);
                keynote.printFooter();
                EXPECT_EQ(keynote.save(), c.saveResult);
            }
        }
        switch (c.after) {
            case After::noBundle: EXPECT_FALSE(fs::exists(bundle)); break;
            case After::regularFile: EXPECT_EQ(contentsOf(bundle), otherFileText); break;
            case After::bundle: {
                ASSERT_TRUE(fs::is_directory(bundle));
                for (const fs::directory_entry& entry : fs::directory_iterator(bundle)) {
                    std::string name = entry.path().filename().string();
                    EXPECT_TRUE(name == "presentation.apxl" || name == "other.txt")
                        << "left behind: " << name;
                }
                if (c.before == Before::earlierDocument) {
                    EXPECT_EQ(contentsOf(bundle / "other.txt"), otherFileText);
                }
                break;
            }
        }
        switch (c.document) {
            case Document::none: EXPECT_FALSE(fs::exists(document)); break;
            case Document::earlier: EXPECT_EQ(contentsOf(document), earlierText); break;
            case Document::written: {
                EXPECT_EQ(contentsOf(document), emptyDocument("800 600"));
                // Readable like any file the user makes, not private to the owner.
                struct stat status;
                ASSERT_EQ(stat(document.c_str(), &status), 0);
                mode_t mask = umask(0);
                umask(mask);
                EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
                break;
            }
            case Document::folder: EXPECT_TRUE(fs::is_directory(document)); break;
        }
    }
}

TEST_F(KeynoteBundle, FailedPresentationWritesNothing) {
    writeFile(root / "taken.key", otherFileText);
    std::vector<std::pair<int, int>> writes;
    std::vector<int> deletions(1);
    {
        Keynote keynote((root / "taken.key").c_str(), 800, 600);
        ASSERT_EQ(keynote.error(), 1);
        EXPECT_EQ(keynote.file, nullptr);
        keynote.addShape(new Recorder(0, writes, deletions));
        EXPECT_NE(keynote.printHeader(), 0);
        keynote.exportXML(false);
        EXPECT_NE(keynote.printFooter(), 0);
        EXPECT_EQ(keynote.save(), 1);
    }
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(deletions[0], 1);
}
