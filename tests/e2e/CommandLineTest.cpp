// The program's command line, bundle naming and failure paths, run as a user
// runs them.

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

const std::string emptyDrawing = drawing("");
const std::string sizedDrawing = drawing("", " width='400' height='300'");

std::string emptyDocument() { return readFile(fs::path(PICTAVO_TEST_DATA) / "golden" / "empty.apxl"); }

std::string usageText(const std::string& program) {
    return "\npictavo v0.1: SVG to Apple Keynote converter\n\nusage: " + program + " svg_file.svg [output.key]\n\n";
}

TEST(CommandLine, RefusesWrongArgumentsWithUsageAndCreatesNothing) {
    const std::vector<std::string> cases[] = {
        {}, {"drawing.svg", "out.key", "extra"}, {"missing.svg"}, {"missing.svg", "out.key"}, {"a.s"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? "no argument" : arguments[0]);
        Scratch scratch;
        scratch.write("drawing.svg", emptyDrawing);
        scratch.write("a.s", emptyDrawing);
        scratch.expectRefused(arguments, usageText(PICTAVO_BINARY));
    }
    Scratch scratch;
    const fs::path renamed = scratch.root / "svg2slides";
    fs::create_symlink(PICTAVO_BINARY, renamed);
    EXPECT_EQ(scratch.run({}, renamed.string()).out, usageText(renamed.string()));
}

TEST(CommandLine, NamesTheBundleAfterTheInputOrTheSecondArgument) {
    struct Case {
        std::vector<std::string> arguments;
        std::string bundle;
    };
    const Case cases[] = {
        {{"drawing.svg"}, "drawing.key"},      {{"art/logo.svg"}, "art/logo.key"},
        {{"a.svgz"}, "a..key"},                {{"abcd"}, ".key"},
        {{"drawing.svg", "out"}, "out"},       {{"drawing.svg", "art/out.key"}, "art/out.key"},
        {{"a.s", "x.key"}, "x.key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " -> " + c.bundle);
        Scratch scratch;
        scratch.write(c.arguments[0], emptyDrawing);
        fs::create_directories(scratch.work / "art");
        auto expected = scratch.snapshot();
        expected[c.bundle] = "<dir>";
        expected[c.bundle + "/presentation.apxl"] = emptyDocument();

        const RunResult result = scratch.run(c.arguments);

        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(scratch.snapshot(), expected);
    }
}

TEST(CommandLine, RerunReplacesTheDocument) {
    Scratch scratch;
    scratch.write("drawing.svg", sizedDrawing);
    ASSERT_NE(scratch.expectConverted({"drawing.svg"}, "drawing.key").find("slide-size=\"400 300\""),
              std::string::npos);
    scratch.write("drawing.svg", emptyDrawing);
    EXPECT_EQ(scratch.expectConverted({"drawing.svg"}, "drawing.key"), emptyDocument());
}

// Whether the bundle held an earlier document, was empty or was not there,
// a drawing that does not parse leaves it exactly as it was.
TEST(CommandLine, UnparsableInputFailsAndKeepsWhatWasThere) {
    const char* const brokenInputs[] = {"<svg><g></svg>", "", "<svg xmlns=\"http://www.w3.org/2000/svg\">"};
    for (int state = 0; state < 3; ++state)
        for (const char* broken : brokenInputs) {
            SCOPED_TRACE(std::to_string(state) + ": " + broken);
            Scratch scratch;
            scratch.write("drawing.svg", sizedDrawing);
            if (state == 1) scratch.expectConverted({"drawing.svg"}, "drawing.key");
            if (state == 2) fs::create_directory(scratch.work / "drawing.key");
            scratch.write("drawing.svg", broken);
            scratch.expectRefused({"drawing.svg"}, parseFailure("drawing.svg"));
            scratch.expectRefused({"drawing.svg", "drawing.key"}, parseFailure("drawing.svg"));
        }
}

// A relative path of exactly `length` characters ending in `leaf`, through as
// many existing folders as a file system's 255-character name limit needs.
std::string throughFolders(const Scratch& scratch, std::size_t length, const std::string& leaf) {
    std::string path;
    while (length - path.size() > 210) {
        path += std::string(199, 'd') + "/";
        fs::create_directory(scratch.work / path);
    }
    return path + std::string(length - path.size() - leaf.size(), 'n') + leaf;
}

TEST(CommandLine, LongBundleNamesThroughFoldersConvert) {
    for (std::size_t length : {600u, 1100u})
        for (bool derived : {false, true}) {
            SCOPED_TRACE(std::to_string(length) + (derived ? " derived" : " given"));
            Scratch scratch;
            const std::string bundle = throughFolders(scratch, length, ".key");
            ASSERT_EQ(bundle.size(), length);
            const std::string input = derived ? bundle.substr(0, length - 4) + ".svg" : "drawing.svg";
            scratch.write(input, emptyDrawing);
            const std::vector<std::string> arguments =
                derived ? std::vector<std::string>{input} : std::vector<std::string>{input, bundle};
            EXPECT_EQ(scratch.expectConverted(arguments, bundle), emptyDocument());
        }
}

std::string cannotCreate(const std::string& bundle) { return "error: could not create bundle " + bundle + "\n"; }

TEST(CommandLine, ReportsABundleThatCannotBeMadeOrWritten) {
    const std::string longName = std::string(596, 'k') + ".key", longerName = std::string(1096, 'k') + ".key";
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // the arguments and the message
        {{"drawing.svg", "missing/out.key"}, cannotCreate("missing/out.key")},
        {{"drawing.svg", "file.key"}, cannotCreate("file.key")},
        {{"drawing.svg", "file.key/out.key"}, cannotCreate("file.key/out.key")},
        {{"file.svg"}, cannotCreate("file.key")},
        {{"drawing.svg", longName}, cannotCreate(longName)},
        {{"drawing.svg", longerName}, cannotCreate(longerName)},
        {{"drawing.svg", "blocked.key"}, "error: could not write blocked.key/presentation.apxl\n"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message.substr(0, 80));
        Scratch scratch;
        scratch.write("drawing.svg", emptyDrawing);
        scratch.write("file.svg", emptyDrawing);
        scratch.write("file.key", "not a folder");
        scratch.write("blocked.key/presentation.apxl/kept", "kept");
        scratch.expectRefused(arguments, message);
    }
}

TEST(CommandLine, ReadOnlyPlacesAreRefusedAndKeepTheEarlierDocument) {
    Scratch scratch;
    scratch.write("drawing.svg", emptyDrawing);
    scratch.expectConverted({"drawing.svg", "deck.key"}, "deck.key");
    fs::create_directory(scratch.work / "locked");
    for (const char* folder : {"deck.key", "locked"})
        fs::permissions(scratch.work / folder, fs::perms::owner_write | fs::perms::group_write |
                                                   fs::perms::others_write, fs::perm_options::remove);
    for (const std::string bundle : {"deck.key", "locked/deck.key"})
        scratch.expectRefused({"drawing.svg", bundle}, cannotCreate(bundle), RunAs::OrdinaryUser);
}

TEST(CommandLine, SlideSizeComesFromTheRootSizeOrViewBox) {
    struct Case {
        const char* root;
        const char* slideSize;
    };
    const Case cases[] = {
        {" width='640px' height='480.7'", "640 480"},
        {" WIDTH='300' Height='200'", "300 200"},
        {" width='100%' height='300'", "800 600"},
        {" width='400'", "800 600"},
        {" width='0' height='0'", "800 600"},
        {" width='400' height='-0.5'", "800 600"},
        {" width='-400' height='300'", "800 600"},
        {" width='px' height='300'", "800 600"},
        {" viewBox='0,0,100.6,50.4'", "101 50"},
        {" viewBox='0 0 0.4 0.4'", "1 1"},
        {" viewBox='0 0 1e3 5e2'", "1000 500"},
        {" width='100%' height='0' viewBox='0 0 100 50'", "100 50"},
        {" width='400' height='300' viewBox='0 0 1024 768'", "400 300"},
        {" width='400' height='300' viewBox='0 0 0 0'", "400 300"},
        {" viewBox='0 0 100'", "800 600"},
        {" viewBox='0 0 100 0'", "800 600"},
        {" viewBox='0 0 -100 50'", "800 600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        const DocumentCheck::Document document(converted(drawing("<rect width='10' height='10'/>", c.root)));
        EXPECT_EQ(document.attributeValues("theme", "slide-size"), std::vector<std::string>{c.slideSize});
    }
    const DocumentCheck::Document nested(
        converted(drawing("<svg width='200' height='100'/>", " width='400' height='300'")));
    EXPECT_EQ(nested.attributeValues("theme", "slide-size"), std::vector<std::string>{"200 100"});
}

}  // namespace
}  // namespace e2e
