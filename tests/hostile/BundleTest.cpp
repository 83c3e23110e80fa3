#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

const std::string good = drawing("<rect width='10' height='10' fill='red'/>");

// A relative name of exactly `length` characters ending in `leaf`, through
// folders that exist.
std::string throughFolders(const Scratch& scratch, std::size_t length, const std::string& leaf) {
    std::string name;
    while (name.size() + leaf.size() < length) {
        std::size_t room = length - leaf.size() - name.size() - 1;
        name += std::string(std::min<std::size_t>(room, 200), 'd') + "/";
        fs::create_directory(scratch.work / name);
    }
    return name + leaf;
}

void makeReadOnly(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
}

enum class RunAs { Caller, OrdinaryUser };

void expectBundleRefused(const Scratch& scratch, const std::vector<std::string>& arguments,
                         const std::string& bundle, RunAs who = RunAs::Caller) {
    auto before = scratch.snapshot();
    ProgramResult run = who == RunAs::OrdinaryUser ? runAsOrdinaryUser(scratch, arguments)
                                                   : runProgram(scratch, arguments);
    expectRefused(run, before, scratch.snapshot());
    EXPECT_NE(run.out.find(bundle), std::string::npos) << "the message names the bundle";
}

}  // namespace

TEST(Bundle, LongNamesThroughExistingFoldersConvert) {
    for (std::size_t length : {600, 1100}) {
        SCOPED_TRACE(length);
        Scratch scratch;
        scratch.write("in.svg", good);
        std::string bundle = throughFolders(scratch, length, "deck.key");
        ASSERT_EQ(bundle.size(), length);
        expectConverted(scratch, runProgram(scratch, {"in.svg", bundle}), bundle);

        std::string input = throughFolders(scratch, length, "drawing.svg");
        scratch.write(input, good);
        std::string derived = input.substr(0, input.size() - 4) + ".key";
        expectConverted(scratch, runProgram(scratch, {input}), derived);
    }
}

TEST(Bundle, UnusableBundlesAreRefused) {
    struct Case {
        const char* what;
        std::string bundle;
        void (*prepare)(const Scratch&);
    } cases[] = {
        {"one name of 600 characters", std::string(596, 'k') + ".key", nullptr},
        {"one name of 1100 characters", std::string(1096, 'k') + ".key", nullptr},
        {"missing parent", "missing/deck.key", nullptr},
        {"regular file", "deck.key", [](const Scratch& s) { s.write("deck.key", "keep me\n"); }},
        {"regular file as parent", "file/deck.key", [](const Scratch& s) { s.write("file", "x"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch scratch;
        scratch.write("in.svg", good);
        if (c.prepare) c.prepare(scratch);
        expectBundleRefused(scratch, {"in.svg", c.bundle}, c.bundle);
    }
}

TEST(Bundle, ReadOnlyPlacesAreRefusedAndKeepTheEarlierDocument) {
    Scratch scratch;
    scratch.write("in.svg", good);
    expectConverted(scratch, runProgram(scratch, {"in.svg", "deck.key"}), "deck.key");
    makeReadOnly(scratch.work / "deck.key");
    expectBundleRefused(scratch, {"in.svg", "deck.key"}, "deck.key", RunAs::OrdinaryUser);

    fs::create_directory(scratch.work / "locked");
    makeReadOnly(scratch.work / "locked");
    expectBundleRefused(scratch, {"in.svg", "locked/deck.key"}, "locked/deck.key",
                        RunAs::OrdinaryUser);
}

TEST(Bundle, UnparsableInputKeepsTheEarlierDocument) {
    Scratch scratch;
    scratch.write("in.svg", good);
    expectConverted(scratch, runProgram(scratch, {"in.svg", "deck.key"}), "deck.key");
    for (const char* broken : {"", "<svg><rect></svg>", "<svg>"}) {
        SCOPED_TRACE(broken);
        scratch.write("broken.svg", broken);
        auto before = scratch.snapshot();
        ProgramResult run = runProgram(scratch, {"broken.svg", "deck.key"});
        expectRefused(run, before, scratch.snapshot());
        EXPECT_EQ(run.out, parseFailure("broken.svg"));
    }
}
