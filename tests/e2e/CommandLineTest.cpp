// The program's command line, bundle naming and failure paths, run as a user
// runs them.

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

const std::string emptyDrawing = drawing("");

std::string emptyDocument() { return readFile(fs::path(PICTAVO_TEST_DATA) / "golden" / "empty.apxl"); }

std::string usageText(const std::string& program) {
    return "\npictavo v0.1: SVG to Apple Keynote converter\n\nusage: " + program + " svg_file.svg [output.key]\n\n";
}

std::string cannotCreate(const std::string& bundle) { return "error: could not create bundle " + bundle + "\n"; }

// Each refusal says why on one line, or shows the usage, and leaves the
// folder as it was.
TEST(CommandLine, RefusesWithAMessageAndChangesNothing) {
    const std::string usage = usageText(PICTAVO_BINARY), longName = std::string(596, 'k') + ".key";
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // the arguments and the message
        {{}, usage},
        {{"drawing.svg", "out.key", "extra"}, usage},
        {{"missing.svg", "out.key"}, usage},
        {{"a.s"}, usage},
        {{"drawing.svg", "missing/out.key"}, cannotCreate("missing/out.key")},
        {{"drawing.svg", "file.key/out.key"}, cannotCreate("file.key/out.key")},
        {{"file.svg"}, cannotCreate("file.key")},
        {{"drawing.svg", longName}, cannotCreate(longName)},
        {{"drawing.svg", "blocked.key"}, "error: could not write blocked.key/presentation.apxl\n"},
        // A folder opens but holds no drawing.
        {{"folder.svg", "out.key"}, parseFailure("folder.svg")},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message.substr(0, 80));
        Scratch scratch;
        for (const char* name : {"drawing.svg", "a.s", "file.svg"}) scratch.write(name, emptyDrawing);
        scratch.write("file.key", "not a folder");
        scratch.write("blocked.key/presentation.apxl/kept", "kept");
        fs::create_directory(scratch.work / "folder.svg");
        scratch.expectRefused(arguments, message);
    }
    Scratch scratch;
    const fs::path renamed = scratch.root / "svg2slides";
    fs::create_symlink(PICTAVO_BINARY, renamed);
    EXPECT_EQ(scratch.run({}, renamed.string()).out, usageText(renamed.string()));
}

// The input's last four characters give way to ".key", whatever they are.
// Paths run far beyond a file name's 255 characters through existing folders.
TEST(CommandLine, NamesTheBundleAfterTheInputOrTheSecondArgument) {
    const std::string deep = repeated(std::string(199, 'd') + "/", 5);
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // arguments, bundle
        {{"art/logo.svg"}, "art/logo.key"},   {{"a.svgz"}, "a..key"}, {{"abcd"}, ".key"},
        {{"drawing.svg", "out"}, "out"},      {{"a.s", "art/x.key"}, "art/x.key"},
        {{deep + "deck.svg"}, deep + "deck.key"}, {{"drawing.svg", deep + "out.key"}, deep + "out.key"},
    };
    for (const auto& [arguments, bundle] : cases) {
        SCOPED_TRACE(arguments[0].substr(0, 80) + " -> " + bundle.substr(0, 80));
        Scratch scratch;
        scratch.write(arguments[0], emptyDrawing);
        fs::create_directories(scratch.work / "art");
        fs::create_directories(scratch.work / deep);
        auto expected = scratch.snapshot();
        expected[bundle] = "<dir>";
        expected[bundle + "/presentation.apxl"] = emptyDocument();
        EXPECT_EQ(scratch.run(arguments).status, 0);
        EXPECT_EQ(scratch.snapshot(), expected);
    }
}

// Whether the bundle held an earlier document, was empty or was not there,
// a drawing that does not parse leaves it exactly as it was; one that parses
// replaces the document.
TEST(CommandLine, UnparsableInputFailsAndKeepsWhatWasThere) {
    const std::string sized = drawing("", " width='400' height='300'");
    for (int state = 0; state < 3; ++state)
        for (const char* broken : {"<svg><g></svg>", "", "<svg xmlns=\"http://www.w3.org/2000/svg\">"}) {
            SCOPED_TRACE(std::to_string(state) + ": " + broken);
            Scratch scratch;
            scratch.write("drawing.svg", sized);
            if (state == 1) scratch.expectConverted({"drawing.svg"}, "drawing.key");
            if (state == 2) fs::create_directory(scratch.work / "drawing.key");
            scratch.write("drawing.svg", broken);
            scratch.expectRefused({"drawing.svg"}, parseFailure("drawing.svg"));
            scratch.expectRefused({"drawing.svg", "drawing.key"}, parseFailure("drawing.svg"));
        }
    Scratch scratch;
    scratch.write("drawing.svg", sized);
    scratch.expectConverted({"drawing.svg"}, "drawing.key");
    scratch.write("drawing.svg", emptyDrawing);
    EXPECT_EQ(scratch.expectConverted({"drawing.svg"}, "drawing.key"), emptyDocument());
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
        scratch.expectRefused({"drawing.svg", bundle}, cannotCreate(bundle), /*asOrdinaryUser=*/true);
}

}  // namespace
}  // namespace e2e
