// The program's command line, bundle naming and failure paths, run as a user
// runs them.

#include <cerrno>
#include <cstring>
#include <regex>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

const std::string emptyDrawing = drawing("");
const fs::path sourceFolder = fs::path(PICTAVO_TEST_DATA).parent_path().parent_path();

std::string emptyDocument() { return readFile(fs::path(PICTAVO_TEST_DATA) / "golden" / "empty.apxl"); }

std::string usageLine(const std::string& program = PICTAVO_BINARY) {
    return "usage: " + program + " [-q] svg_file.svg [output.key]\n";
}

std::string failure(const std::string& what, int error) {
    return "error: " + what + ": " + std::strerror(error) + "\n";
}
std::string cannotRead(const std::string& input, int error) { return failure("cannot read " + input, error); }
std::string cannotCreate(const std::string& bundle, int error) {
    return failure("could not create bundle " + bundle, error);
}

// Help and version answer whatever follows them; options end at "--" or at
// the first file name; anything else that looks like an option is named.
TEST(CommandLine, OptionsAnswerBeforeAnyFile) {
    Scratch scratch;
    scratch.write("drawing.svg", emptyDrawing);
    const RunResult help = scratch.run({"-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(usageLine() + "\n", 0), 0u) << help.out;
    const std::string version = std::string("pictavo ") + PICTAVO_VERSION + "\n";
    const std::pair<std::vector<std::string>, std::string> answered[] = {  // arguments, standard output
        {{"--help"}, help.out},
        {{"-q", "-h", "missing.svg"}, help.out},
        {{"-V"}, version},
        {{"--version", "drawing.svg"}, version},
    };
    for (const auto& [arguments, out] : answered) {
        SCOPED_TRACE(arguments[0]);
        const auto before = scratch.snapshot();
        const RunResult result = scratch.run(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, out);
        EXPECT_TRUE(before == scratch.snapshot());
    }
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"-q", "--verbose", "drawing.svg"}, "error: unknown option --verbose\n" + usageLine()},
        {{"-qV"}, "error: unknown option -qV\n" + usageLine()},
        {{"-q", "--", "--help", "out.key"}, cannotRead("--help", ENOENT)},
        {{"-q"}, usageLine()},
    };
    for (const auto& [arguments, message] : refused) {
        SCOPED_TRACE(arguments[0]);
        scratch.expectRefused(arguments, message);
    }
}

// Each option the help lists is described in the manual page and the README.
TEST(CommandLine, HelpAgreesWithTheDocumentation) {
    const std::string help = Scratch().run({"--help"}).out;
    std::string manual = readFile(sourceFolder / "doc" / "pictavo.1");
    manual = std::regex_replace(manual, std::regex(R"(\\-)"), "-");
    const std::string readme = readFile(sourceFolder / "README.md");
    const std::regex option("^  (-\\w), (--\\w+) ", std::regex::multiline);
    int listed = 0;
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it, ++listed)
        for (const std::string& spelling : {(*it)[1].str(), (*it)[2].str()}) {
            EXPECT_NE(manual.find(spelling), std::string::npos) << spelling;
            EXPECT_NE(readme.find("`" + spelling), std::string::npos) << spelling;
        }
    EXPECT_EQ(listed, 3) << help;
    const std::string synopsis = usageLine("pictavo").substr(std::string("usage: ").size());
    EXPECT_NE(readme.find(synopsis), std::string::npos) << synopsis;
}

// Each refusal says why on one line, naming the file and the system's
// reason, or shows the usage, and leaves the folder as it was.
TEST(CommandLine, RefusesWithAMessageAndChangesNothing) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // the arguments and the message
        {{}, usageLine()},
        {{"drawing.svg", "out.key", "extra"}, "error: unexpected argument extra\n" + usageLine()},
        {{"-"}, "error: a drawing read from standard input needs a bundle name\n" + usageLine()},
        {{"missing.svg", "out.key"}, cannotRead("missing.svg", ENOENT)},
        {{"drawing.svg", "file.key/out.key"}, cannotCreate("file.key/out.key", ENOTDIR)},
        {{"file.svg"}, cannotCreate("file.key", ENOTDIR)},
        {{"drawing.svg", "blocked.key"}, failure("could not write blocked.key/presentation.apxl", EISDIR)},
        // A folder opens but holds no drawing; a pipe is refused before it is
        // opened, so no writer is awaited.
        {{"folder.svg", "out.key"}, parseFailure("folder.svg")},
        {{"pipe.svg"}, parseFailure("pipe.svg")},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message.substr(0, 80));
        Scratch scratch;
        for (const char* name : {"drawing.svg", "file.svg"}) scratch.write(name, emptyDrawing);
        scratch.write("file.key", "not a folder");
        scratch.write("blocked.key/presentation.apxl/kept", "kept");
        fs::create_directory(scratch.work / "folder.svg");
        ASSERT_EQ(mkfifo((scratch.work / "pipe.svg").c_str(), 0600), 0);
        scratch.expectRefused(arguments, message);
    }
    Scratch scratch;
    const fs::path renamed = scratch.root / "svg2slides";
    fs::create_symlink(PICTAVO_BINARY, renamed);
    RunSetting setting;
    setting.program = renamed.string();
    EXPECT_EQ(scratch.run({}, setting).out, usageLine(renamed.string()));
}

// A final .svg or .svgz, in any case, gives way to ".key"; any other name
// keeps all of itself. Paths run far beyond a file name's 255 characters
// through existing folders.
TEST(CommandLine, NamesTheBundleAfterTheInputOrTheSecondArgument) {
    const std::string deep = repeated(std::string(199, 'd') + "/", 5);
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // arguments, bundle
        {{"art/logo.svg"}, "art/logo.key"},
        {{"h.SvgZ"}, "h.key"},
        {{"ab"}, "ab.key"},
        {{"logo.svg.bak"}, "logo.svg.bak.key"},
        {{"logo.svgzz"}, "logo.svgzz.key"},
        {{"--", "-dash.svg"}, "-dash.key"},
        {{"drawing.svg", "-q"}, "-q"},
        {{deep + "deck.svg"}, deep + "deck.key"},
    };
    for (const auto& [arguments, bundle] : cases) {
        const std::string& input = arguments[0] == "--" ? arguments[1] : arguments[0];
        SCOPED_TRACE(input.substr(0, 80) + " -> " + bundle.substr(0, 80));
        Scratch scratch;
        scratch.write(input, emptyDrawing);
        fs::create_directories(scratch.work / "art");
        fs::create_directories(scratch.work / deep);
        auto expected = scratch.snapshot();
        expected[bundle] = "<dir>";
        expected[bundle + "/presentation.apxl"] = emptyDocument();
        EXPECT_EQ(scratch.run(arguments).status, 0);
        EXPECT_EQ(scratch.snapshot(), expected);
    }
}

// A drawing is read from a file or from standard input, as it is or
// compressed with gzip, and gives the same document each way.
TEST(CommandLine, ReadsCompressedDrawingsAndStandardInput) {
    const std::string svg = drawing("<rect width='4' height='3' fill='lime'/><text x='1' y='2'>A</text>");
    const std::string document = converted(svg);
    const std::pair<bool, bool> cases[] = {{false, true}, {true, false}, {true, true}};  // from stdin, gzip
    for (const auto& [fromStandardInput, compressed] : cases) {
        SCOPED_TRACE(std::to_string(fromStandardInput) + std::to_string(compressed));
        Scratch scratch;
        scratch.write("in.svg", svg);
        if (compressed) {
            ASSERT_EQ(std::system(("gzip -n " + quoted((scratch.work / "in.svg").string())).c_str()), 0);
        }
        const std::string input = compressed ? "in.svg.gz" : "in.svg";
        RunSetting setting;
        if (fromStandardInput) {
            fs::rename(scratch.work / input, scratch.root / input);
            setting.input = scratch.root / input;
        }
        const std::vector<std::string> arguments =
            fromStandardInput ? std::vector<std::string>{"-", "out.key"} : std::vector<std::string>{input, "out.key"};
        EXPECT_EQ(scratch.expectConverted(arguments, "out.key", setting), document);
    }
    Scratch scratch;
    scratch.write("broken.svg", "<svg><g></svg>");
    RunSetting broken;
    broken.input = scratch.work / "broken.svg";
    scratch.expectRefused({"-", "out.key"}, parseFailure("-"), broken);
}

// After a conversion, what was left out and what was approximated are
// counted on standard error, a line each, named after the input; nothing when
// all was carried or when asked to be quiet.
TEST(CommandLine, ReportsWhatWasNotCarried) {
    const std::string dropped = "<image width='1' height='1'/><image/><rect width='1' height='1' filter='url(#f)'/>";
    const std::string approximated = "<path id='p' d='M0 0 L9 9'/><text><textPath href='#p'>A</textPath></text>";
    const std::string notCarriedLine = "not carried: 2 images, 1 filter\n";
    // How a kind is worded is the converter's; the lines are matched as patterns.
    const std::string approximatedLine = "approximated: 1 text on a path \\([^)\n]*\\)\n";
    const struct {
        std::vector<std::string> arguments;
        std::string body, report;
    } cases[] = {
        {{"in.svg"}, "<rect width='1' height='1'/>", ""},
        {{"in.svg"}, approximated + dropped,
         "pictavo: in.svg: " + notCarriedLine + "pictavo: in.svg: " + approximatedLine},
        {{"-", "in.key"}, approximated, "pictavo: -: " + approximatedLine},
        {{"-q", "in.svg"}, approximated + dropped, ""},
        {{"--quiet", "in.svg"}, dropped, ""},
    };
    for (const auto& [arguments, body, report] : cases) {
        SCOPED_TRACE(arguments[0] + body.substr(0, 60));
        Scratch scratch;
        scratch.write("in.svg", drawing(body));
        RunSetting setting;
        setting.input = scratch.work / "in.svg";
        scratch.expectConverted(arguments, "in.key", setting);
        const std::string err = scratch.run(arguments, setting).err;
        EXPECT_TRUE(std::regex_match(err, std::regex(report))) << err;
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
    scratch.write("secret/drawing.svg", emptyDrawing);
    scratch.expectConverted({"drawing.svg", "deck.key"}, "deck.key");
    fs::create_directory(scratch.work / "locked");
    for (const char* folder : {"deck.key", "locked"})
        fs::permissions(scratch.work / folder, fs::perms::owner_write | fs::perms::group_write |
                                                   fs::perms::others_write, fs::perm_options::remove);
    fs::permissions(scratch.work / "secret", fs::perms::owner_all);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"drawing.svg", "deck.key"}, cannotCreate("deck.key", EACCES)},
        {{"drawing.svg", "locked/deck.key"}, cannotCreate("locked/deck.key", EACCES)},
        {{"secret/drawing.svg", "out.key"}, cannotRead("secret/drawing.svg", EACCES)},
    };
    for (const auto& [arguments, message] : cases)
        scratch.expectRefused(arguments, message, {}, /*asOrdinaryUser=*/true);
}

}  // namespace
}  // namespace e2e
