// The program's command line, bundle naming and failure paths, run as a user
// runs them.

#include <gtest/gtest.h>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

const std::string document = "presentation.apxl";

std::string emptyDocument() { return readFile(fs::path(PICTAVO_TEST_DATA) / "golden" / "empty.apxl"); }

TEST(CommandLine, RefusesWrongArgumentsWithUsageAndCreatesNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"no argument", {}},
        {"three arguments", {"drawing.svg", "out.key", "extra"}},
        {"missing input", {"missing.svg"}},
        {"missing input with a bundle", {"missing.svg", "out.key"}},
        {"name too short to cut an ending", {"a.s"}},
        {"empty name", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch scratch;
        writeFile(scratch.work / "drawing.svg", emptyDrawing);
        writeFile(scratch.work / "a.s", emptyDrawing);
        fs::create_directory(scratch.work / "folder.svg");
        const auto before = scratch.entries();

        const RunResult result = scratch.run(c.arguments);

        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, usageText(PICTAVO_BINARY));
        EXPECT_EQ(scratch.entries(), before);
    }
}

TEST(CommandLine, UsageNamesTheProgramAsInvoked) {
    Scratch scratch;
    const fs::path renamed = scratch.root / "svg2slides";
    fs::create_symlink(PICTAVO_BINARY, renamed);

    const RunResult result = scratch.runAs(renamed.string(), {});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, usageText(renamed.string()));
}

TEST(CommandLine, NamesTheBundleAfterTheInputOrTheSecondArgument) {
    struct Case {
        std::string input;
        std::vector<std::string> bundleArgument;
        std::string bundle;
    };
    const Case cases[] = {
        {"drawing.svg", {}, "drawing.key"},
        {"art/logo.svg", {}, "art/logo.key"},
        {"page.xml", {}, "page.key"},
        {"a.svgz", {}, "a..key"},
        {"abcd", {}, ".key"},
        {"drawing.svg", {"out"}, "out"},
        {"drawing.svg", {"art/out.key"}, "art/out.key"},
        {"a.s", {"x.key"}, "x.key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.bundle);
        Scratch scratch;
        writeFile(scratch.work / c.input, emptyDrawing);
        fs::create_directories(scratch.work / "art");
        auto expected = scratch.entries();
        expected.insert(c.bundle);
        expected.insert((fs::path(c.bundle) / document).string());
        std::vector<std::string> arguments{c.input};
        arguments.insert(arguments.end(), c.bundleArgument.begin(), c.bundleArgument.end());

        const RunResult result = scratch.run(arguments);

        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(scratch.entries(), expected);
        EXPECT_EQ(readFile(scratch.work / c.bundle / document), emptyDocument());
    }
}

TEST(CommandLine, RerunReplacesTheDocument) {
    Scratch scratch;
    writeFile(scratch.work / "drawing.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"300\"/>");
    ASSERT_EQ(scratch.run({"drawing.svg"}).status, 0);
    ASSERT_NE(readFile(scratch.work / "drawing.key" / document).find("slide-size=\"400 300\""),
              std::string::npos);

    writeFile(scratch.work / "drawing.svg", emptyDrawing);
    const RunResult result = scratch.run({"drawing.svg"});

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(readFile(scratch.work / "drawing.key" / document), emptyDocument());
    EXPECT_EQ(scratch.entries(), (std::set<std::string>{"drawing.svg", "drawing.key",
                                                        "drawing.key/presentation.apxl"}));
}

TEST(CommandLine, UnparsableInputFailsAndKeepsWhatWasThere) {
    enum class Before { Nothing, EarlierDocument, EmptyBundle };
    const Before states[] = {Before::Nothing, Before::EarlierDocument, Before::EmptyBundle};
    const char* const brokenInputs[] = {"<svg><g></svg>", "", "plain text, not markup",
                                        "<svg xmlns=\"http://www.w3.org/2000/svg\">"};
    for (Before state : states) {
        for (const char* broken : brokenInputs) {
            SCOPED_TRACE(std::string("state ") + std::to_string(static_cast<int>(state)) + ", input: " + broken);
            Scratch scratch;
            writeFile(scratch.work / "drawing.svg",
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"300\"/>");
            if (state == Before::EarlierDocument) {
                ASSERT_EQ(scratch.run({"drawing.svg"}).status, 0);
            }
            if (state == Before::EmptyBundle) fs::create_directory(scratch.work / "drawing.key");
            const std::string earlier = readFile(scratch.work / "drawing.key" / document);
            const auto before = scratch.entries();
            writeFile(scratch.work / "drawing.svg", broken);

            const RunResult result = scratch.run({"drawing.svg"});

            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.output, "error: could not parse file drawing.svg\n");
            EXPECT_EQ(scratch.entries(), before);
            EXPECT_EQ(readFile(scratch.work / "drawing.key" / document), earlier);
        }
    }
}

TEST(CommandLine, ReportsABundleThatCannotBeMadeOrWritten) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {"parent folder missing", {"drawing.svg", "missing/out.key"},
         "error: could not create bundle missing/out.key\n"},
        {"bundle is a regular file", {"drawing.svg", "file.key"},
         "error: could not create bundle file.key\n"},
        {"derived bundle is a regular file", {"taken.svg"}, "error: could not create bundle taken.key\n"},
        {"document name taken by a folder", {"drawing.svg", "blocked.key"},
         "error: could not write blocked.key/presentation.apxl\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch scratch;
        writeFile(scratch.work / "drawing.svg", emptyDrawing);
        writeFile(scratch.work / "taken.svg", emptyDrawing);
        writeFile(scratch.work / "file.key", "not a folder");
        writeFile(scratch.work / "taken.key", "not a folder either");
        writeFile(scratch.work / "blocked.key" / document / "kept", "kept");
        const auto before = scratch.entries();

        const RunResult result = scratch.run(c.arguments);

        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, c.message);
        EXPECT_EQ(scratch.entries(), before);
        EXPECT_EQ(readFile(scratch.work / "file.key"), "not a folder");
        EXPECT_EQ(readFile(scratch.work / "taken.key"), "not a folder either");
    }
}

// A relative path of exactly `length` characters ending in ".key", through as
// many nested folders as a file system's 255-character name limit needs.
std::string longBundlePath(std::size_t length) {
    std::string path;
    while (length - path.size() > 210) path += std::string(199, 'd') + "/";
    return path + std::string(length - path.size() - 4, 'n') + ".key";
}

TEST(CommandLine, HandlesLongBundleNames) {
    for (std::size_t length : {600u, 1100u}) {
        for (bool derived : {false, true}) {
            SCOPED_TRACE(std::to_string(length) + (derived ? " derived" : " given"));
            Scratch scratch;
            const std::string bundle = longBundlePath(length);
            ASSERT_EQ(bundle.size(), length);
            const std::string input = derived ? bundle.substr(0, length - 4) + ".svg" : "drawing.svg";
            writeFile(scratch.work / input, emptyDrawing);
            fs::create_directories((scratch.work / bundle).parent_path());
            std::vector<std::string> arguments{input};
            if (!derived) arguments.push_back(bundle);

            const RunResult result = scratch.run(arguments);

            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.output, "");
            EXPECT_EQ(readFile(scratch.work / bundle / document), emptyDocument());
        }
    }
}

}  // namespace
}  // namespace e2e
